#pragma once
// The one guard for a boundary that no exception may cross: Qt's callbacks, event handlers and
// paints. The handler runs inside the catch block, so it can rethrow to tell what was thrown;
// the main window hands everything to its top-level error routine this way.

#include <exception>
#include <string>

template <class TStep, class THandler>
void Guarded(TStep&& step, THandler&& handle)
{
    try {
        step();
    } catch (...) {
        handle();
    }
}

// Inside a catch block: the message of the exception being handled.
inline std::string CurrentExceptionMessage()
{
    try {
        throw;
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "Unknown error";
    }
}
