// Telling the user and the log about the run's result: the result's text with the system's description of
// its installer error, and the report of a failure (once: a log line and, unless the run is quiet, a
// message box).
#pragma once

#include "launcher/SetupContext.h"

#include <string>

// The result's base text, extended by "(error - description)" when the system describes its installer error.
std::wstring ResultText(const SetupResult& result);

// Logs a recorded failure and, unless the run is quiet, shows its message; marks it reported. Nothing
// happens for a success or a failure reported before.
void ReportResult(SetupContext& context);

// A message box with the error icon and the run's application name.
void ShowErrorMessage(const SetupContext& context, const std::wstring& text);
