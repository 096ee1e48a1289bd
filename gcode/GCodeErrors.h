#pragma once
// The errors raised while interpreting G-code. Each carries the message shown to the user.

#include "common/Error.h"

// Malformed G-code found by the tokenizer; the message names the source line.
class EParserError : public EZorvitError
{
public:
    using EZorvitError::EZorvitError;
};

// A number token that does not convert to an integer or a real.
class EConvertError : public EZorvitError
{
public:
    using EZorvitError::EZorvitError;
};

// Misuse of the line table: an unknown column, a value of the wrong type, no row to write.
class ETableError : public EZorvitError
{
public:
    using EZorvitError::EZorvitError;
};

// A value outside the range that a column can hold.
class ERangeError : public ETableError
{
public:
    using ETableError::ETableError;
};
