#pragma once
// Named integer defaults of the application.
//
// The defaults live in a text file named by the environment variable
// KIV_DEFAULTS_FILE: one "key=value" pair per line, blanks around key and
// value ignored, lines starting with '#' or ';' are comments. The first line
// that names a key wins. With the variable unset, or the file unreadable,
// no default exists. The file is read at every call, so a change takes effect
// at once.

#include "roots/VelString.h"

// Returns nonzero and stores the value when the named default exists and is
// an integer that fits an int; otherwise returns 0 and leaves value alone.
// With quiet false, a malformed value is reported on stderr.
int vel_odbc_getDefault(const char* key, int& value, bool quiet);
int vel_odbc_getDefault(const VelString& key, int& value, bool quiet);
