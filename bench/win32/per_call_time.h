#pragma once
// Wall-clock microseconds per call of `body` over `calls` calls, GDI's
// batched drawing flushed before the clock stops.

#include <windows.h>

template <typename Body>
double MicrosecondsPerCall(int calls, Body body) {
    LARGE_INTEGER frequency{};
    LARGE_INTEGER start{};
    LARGE_INTEGER end{};
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    for (int i = 0; i < calls; ++i) body();
    ::GdiFlush();
    ::QueryPerformanceCounter(&end);
    return static_cast<double>(end.QuadPart - start.QuadPart) * 1e6 /
           static_cast<double>(frequency.QuadPart) / calls;
}
