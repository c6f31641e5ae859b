#pragma once
// Append-only text log. Every append opens the file, writes and closes it
// again, so the text is on disk when appendWithSave returns and a crash
// later loses nothing. Logging is off for the process until switched on.

#include "roots/VelString.h"

class VelLogfile
{
public:
    explicit VelLogfile(const VelString& fileName);
    ~VelLogfile();

    VelLogfile(const VelLogfile&) = delete;
    VelLogfile& operator=(const VelLogfile&) = delete;

    // Appends the text as it stands (the caller supplies line ends).
    // Returns 1 when written, 0 when logging is off or the file cannot be opened.
    int appendWithSave(const VelString& text);

    const VelString& fileName() const { return m_fileName; }

    static void setLogStatus(int on);
    static int logStatus();

private:
    VelString m_fileName;
    static int s_logStatus;
};
