#pragma once
// Comments that speak, as LinuxCNC 2.9 reads them: (MSG,...) shows its text as written,
// (DEBUG,...) and (PRINT,...) with parameter values put in, (ABORT,...) stops the program with
// its text as the error.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class TParameters;

enum class TMessageKind : std::uint8_t { Message, Debug, Print, Abort };

struct TMessageComment
{
    TMessageKind Kind;
    std::string Text;  // after the comma, blanks kept, parameters put in (except for MSG)
};

// Reads the text of a comment (between its parentheses, as written). Gives nothing for an
// ordinary comment, and for DEBUG while #5599 is 0.
std::optional<TMessageComment> ReadMessageComment(std::string_view comment,
                                                  const TParameters& parameters);

// Puts parameter values into a message: "#12" and "#<name>" become the value with six
// decimals; a name not defined or a number out of range becomes "######"; any other "#" stays.
std::string SubstituteParameters(std::string_view text, const TParameters& parameters);
