/*
 * pe_canary.cpp - a plug-in with the right export that takes the C++
 * runtime from its DLL (linked without -static): the interface check of
 * the Windows plug-ins must refuse it for importing libstdc++.  Built,
 * never run.
 */
#include <string>

extern "C" void MEXFUNCTION(const int*, void**, const int*, void* const*) {
    static std::string calls;
    calls.push_back('x');
}
