#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <vector>

namespace text {

/// A file of fixed-size records opened for appending, with its own write buffer so that a
/// record costs a copy, not a system call. Nothing throws; failures are results.
class RecordFile {
public:
    RecordFile() = default;
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    /// Creates the file empty (replacing an earlier one) and keeps it open for appending.
    bool create(const std::filesystem::path& path, std::size_t recordSize);
    bool isOpen() const noexcept { return m_file != nullptr; }
    /// Appends one record of recordSize bytes; false when the file is not open, the record has
    /// another size, or the disk refused the write.
    bool append(std::span<const std::byte> record);
    /// Appends several records at once; false as append, or when the size is not a whole
    /// number of records (an empty span appends nothing and succeeds).
    bool appendRecords(std::span<const std::byte> records);
    /// Writes out what is buffered, so that readers see every appended record.
    bool flush();
    /// Empties the file again; it stays open for appending.
    bool reset();
    void close();

    std::uint64_t recordCount() const noexcept { return m_records; }
    std::size_t recordSize() const noexcept { return m_recordSize; }
    const std::filesystem::path& path() const noexcept { return m_path; }
    /// True once a write failed; later appends are refused.
    bool failed() const noexcept { return m_failed; }

private:
    std::FILE* m_file = nullptr;
    std::filesystem::path m_path;
    std::size_t m_recordSize = 0;
    std::uint64_t m_records = 0;
    std::vector<std::byte> m_buffer;
    bool m_failed = false;
};

/// Reads a file of fixed-size records in large blocks; next() hands out each record in place.
class RecordFileReader {
public:
    RecordFileReader() = default;
    ~RecordFileReader();
    RecordFileReader(const RecordFileReader&) = delete;
    RecordFileReader& operator=(const RecordFileReader&) = delete;

    bool open(const std::filesystem::path& path, std::size_t recordSize);
    bool isOpen() const noexcept { return m_file != nullptr; }
    void close();

    /// Whole records in the file when it was opened.
    std::uint64_t recordCount() const noexcept { return m_count; }
    /// The next record, valid until the next call; an empty span at the end of the file.
    std::span<const std::byte> next();
    /// Copies the next record; false at the end of the file.
    bool read(std::span<std::byte> out);
    /// Positions before record index (0-based); false beyond the end.
    bool seek(std::uint64_t index);
    /// Skips records without handing them out.
    bool skip(std::uint64_t records);
    bool atEnd() const noexcept { return m_index >= m_count; }
    std::uint64_t index() const noexcept { return m_index; }

private:
    bool fill();

    std::FILE* m_file = nullptr;
    std::size_t m_recordSize = 0;
    std::uint64_t m_count = 0;
    std::uint64_t m_index = 0; // record handed out next
    std::vector<std::byte> m_buffer;
    std::size_t m_pos = 0; // next record in the buffer
    std::size_t m_end = 0; // bytes held in the buffer
};

} // namespace text
