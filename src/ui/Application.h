#pragma once

#include <QString>

namespace ui {

/// The program's name, as the task bar and every caption's end show it.
inline constexpr const char* kProgramName = "Quillon";

/// The caption a window shows: the given caption as it is, then " — Quillon".
QString windowCaption(const QString& given);

/// The application-wide settings of the window program: its name, its desktop entry and its
/// icon. No display name is set: the window system would append it to every caption except
/// those that already end in "Quillon" ("About Quillon", "Quillon Help"), so each window
/// appends it itself through windowCaption.
void prepareApplication();

} // namespace ui
