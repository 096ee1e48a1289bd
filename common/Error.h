#pragma once
// The base of every error that Zorvit raises: an exception that carries the message shown to
// the user. Each module derives its own kinds from it.

#include <stdexcept>
#include <string>

class EZorvitError : public std::runtime_error
{
public:
    explicit EZorvitError(const std::string& message) : std::runtime_error(message) {}
};
