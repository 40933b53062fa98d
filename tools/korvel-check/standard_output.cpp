#include <sys/stat.h>

#include <cstdio>

#include "output_format.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

namespace cli {

bool standard_output_is_file() {
#if defined(_WIN32)
    struct _stat64 status {};
    return _fstat64(_fileno(stdout), &status) == 0 && (status.st_mode & _S_IFMT) == _S_IFREG;
#else
    struct stat status {};
    return ::fstat(fileno(stdout), &status) == 0 && S_ISREG(status.st_mode);
#endif
}

void use_bytes_as_written() {
#if defined(_WIN32)
    // Text mode would turn each LF into CR LF: CSV, JSON and the tables come
    // out byte for byte the same as elsewhere.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
}

}  // namespace cli
