#pragma once

#include "scan/RunSetup.h"
#include "text/Diagnostics.h"
#include "text/ScanObserver.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace scan {

/// The size in bytes of a file as its directory entry gives it (the name matched without
/// regard to letter case); -1 when there is no such file. 64-bit, so 2 GiB and more show.
std::int64_t FileSizeOf(const std::string& name);

/// The file itself when it exists, otherwise the file of its folder whose name differs only
/// in letter case (the first in byte order when there are several); none when there is none.
/// Folders do not count as files.
std::optional<std::string> FindFileCaseBlind(const std::string& name);

/// The name of the n-th converted copy: base + "_" + n + extension, the extension being the
/// file name's part from its last "." on ("site0010.09o", 0 gives "site0010_0.09o").
std::string ConvertedCopyName(const std::string& name, int n);

/// The companion of a file: its name less the last character, plus the kind's upper-case
/// letter ("site0010.09o" and N give "site0010.09N"). Empty for an empty name.
std::string CompanionName(const std::string& fileName, text::FileKind kind);

/// Opens a RINEX text file for a scanner. Refuses a file that cannot be opened or is no
/// regular file, such as a folder, a fifo or a device ("Error Opening File " + name + " ! "),
/// or holds no bytes ("File " + name + " is empty ! "). When the first line feed of the file
/// follows anything but a carriage return, the file is copied to the first free
/// ConvertedCopyName with every line feed written as CR LF, and nameInUse is the copy;
/// otherwise nameInUse is name. False after any failure message.
bool OpenInputFile(const std::string& name, std::string& nameInUse, text::ScanObserver& observer);

/// The names under which a companion is looked for, in this order: the chosen file's name
/// less a compression suffix (".Z", ".gz", ...) with its last character replaced by the
/// kind's upper-case letter, then that name with ".Z" and with ".gz" ("site0010.21d.Z" and N
/// give "site0010.21N", "site0010.21N.Z", "site0010.21N.gz"). Empty for an empty name.
std::vector<std::string> CompanionNames(const std::string& chosenName, text::FileKind kind);

/// The name of the expanded text of a file of this kind in tempDir: "Expanded" + the kind's
/// letter + "_" + the file name less its folder and compression suffix.
std::string ExpandedName(const std::string& tempDir, const std::string& name, text::FileKind kind);

/// Opens a RINEX text file like OpenInputFile, but a compressed or compact file (told by its
/// first bytes, not its name) is first expanded into ExpandedName in tempDir, which becomes
/// nameInUse; the input file is never changed and nothing is written beside it. `expansion`
/// tells what was done. An expansion that stops early is told with its problem and leaves
/// expansion.complete false; the text expanded up to there is read (true), unless there is
/// none (false).
bool OpenRinexFile(const std::string& name, const std::string& tempDir, text::FileKind kind,
                   std::string& nameInUse, expand::Expansion& expansion,
                   text::ScanObserver& observer);

/// The user's choice: both the chosen and the in-use observation file name.
void ChooseObservationFile(RunState& state, std::string name);

/// OpenRinexFile on the observation file; on success the observation file name becomes the
/// name in use (the converted copy or the expanded text when there was one).
bool OpenObservationFile(RunState& state, text::ScanObserver& observer);

/// Looks for the companion of the chosen file under CompanionNames (named after the file the
/// user chose, also when it was converted or expanded) and opens the first that exists with
/// OpenRinexFile. True when it does not exist (found flag false) or exists
/// and was opened (found flag true, name = the name in use); false when it exists but could
/// not be opened.
bool FindCompanionFile(RunState& state, text::FileKind kind, text::ScanObserver& observer);

} // namespace scan
