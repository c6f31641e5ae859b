#pragma once
// Internal controls of the trace log, for the library's own tests.

#include <string>

namespace VelDOMTrace
{
int level();
void setLevel(int level);

// The file the log goes to (or would go to) in this process.
std::string logPath();

// Closes the current log and directs later writes to `path` (truncating it
// on the first write). An empty path goes back to the default folder.
void redirect(const std::string& path);
}
