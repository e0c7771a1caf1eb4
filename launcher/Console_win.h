// The console of the process that started the launcher (a GUI program has none of its own). Console
// modes attach for their duration through ConsoleAttachment and write with WriteConsoleText.
#pragma once

#include <string_view>

class ConsoleAttachment {
public:
    ConsoleAttachment();
    ~ConsoleAttachment();
    ConsoleAttachment(const ConsoleAttachment&) = delete;
    ConsoleAttachment& operator=(const ConsoleAttachment&) = delete;
    // Ends the attachment early (posting the carriage return that redraws the parent's prompt).
    void Release();

private:
    bool attached_ = false;
};

// Writes text to the standard output when it was redirected to a file or pipe (as UTF-8), and to the
// attached console otherwise.
void WriteConsoleText(std::wstring_view text);
