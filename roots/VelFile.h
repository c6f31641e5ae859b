#pragma once
// Thin stdio layer. File names are UTF-8.

#include <cstdio>

// Opens a stream and stores it through `file`; stores null on failure.
// Returns 0 on success, otherwise the errno value of the failure (or -1 for
// null arguments).
int velfopen(FILE** file, const char* name, const char* mode);

// printf-style output; returns the number of characters written, or a
// negative value for a null stream or a write error.
int velfprintf(FILE* file, const char* fmt, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;

// Closes the stream; a null stream is ignored. Returns 0 on success.
int velfclose(FILE* file);
