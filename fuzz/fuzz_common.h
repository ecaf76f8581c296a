#pragma once
// Helpers shared by the fuzz targets: a failed property aborts, so libFuzzer keeps the input.
#include <QByteArray>
#include <cstdio>
#include <cstdlib>

namespace velk::fuzz {

inline QByteArray bytesOf(const unsigned char* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

[[noreturn]] inline void broken(const char* what)
{
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

inline void require(bool holds, const char* what)
{
    if (!holds) {
        broken(what);
    }
}

} // namespace velk::fuzz
