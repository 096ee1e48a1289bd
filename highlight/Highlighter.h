#pragma once
// The base through which an editor control colours text. It keeps the attribute list (sorted by
// name, case ignored), the Enabled flag, the file filter and the change listeners; a subclass
// supplies the scanner that the editor drives one line at a time:
//
//   StartLine(text, index); while (!AtLineEnd()) { TokenText/TokenStart/TokenAttribute;
//   NextToken(); }
//
// with the line state carried from one line's end to the next line's start.

#include "highlight/TokenAttribute.h"

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

using TCharSet = std::bitset<256>;
using TLineState = std::intptr_t;

// Roles asked of DefaultAttribute.
constexpr int kRoleComment = 0;
constexpr int kRoleIdentifier = 1;
constexpr int kRoleKeyword = 2;
constexpr int kRoleString = 3;
constexpr int kRoleWhiteSpace = 4;

class THighlighter
{
public:
    using TChangeListener = std::function<void()>;
    using TListenerId = std::uint64_t;

    THighlighter(const THighlighter&) = delete;
    THighlighter& operator=(const THighlighter&) = delete;
    virtual ~THighlighter();

    // Copies every attribute that has a namesake (exact name) in the source, then the filter
    // and Enabled. Each changed attribute and a change of Enabled tell the listeners.
    virtual void CopyFrom(const THighlighter& source);

    int AttributeCount() const;
    // The attribute at a list index, or nullptr outside 0 .. AttributeCount() - 1.
    TTokenAttribute* AttributeAt(int index) const;
    virtual TTokenAttribute* DefaultAttribute(int role) const = 0;

    const std::string& DefaultFilter() const { return FDefaultFilter; }
    void SetDefaultFilter(std::string filter);
    // True when the filter differs from the highlighter's own default filter.
    virtual bool IsFilterStored() const = 0;

    virtual const TCharSet& IdentifierChars() const = 0;
    virtual std::string SampleText() const = 0;
    virtual std::string LanguageTitle() const = 0;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);

    // Listeners hear every attribute change and every change of Enabled. A listener may remove
    // itself (or another) while being told.
    TListenerId AddChangeListener(TChangeListener listener);
    void RemoveChangeListener(TListenerId id);

    // The scanner.
    virtual void StartLine(std::string_view text, int lineIndex) = 0;
    virtual void NextToken() = 0;
    virtual bool AtLineEnd() const = 0;
    virtual std::string TokenText() const = 0;
    virtual int TokenStart() const = 0;
    virtual int TokenKind() const = 0;
    virtual TTokenAttribute* TokenAttribute() const = 0;
    virtual TLineState LineState() const = 0;
    virtual void SetLineState(TLineState state) = 0;
    virtual void ResetLineState() = 0;

    // True only when each of these lines, scanned from the state a text starts in, surely ends
    // in that state again: an editor may then leave them unscanned until it shows them, and start
    // the lines below from that state. The check must be far cheaper than a scan; by default the
    // answer is false.
    virtual bool KeepsStartState(std::string_view lines) const;

protected:
    THighlighter();

    // Inserts the attribute at its sorted place (after equal names), takes ownership, routes
    // its change notices to the listeners and records its current values as its defaults.
    TTokenAttribute& RegisterAttribute(std::unique_ptr<TTokenAttribute> attribute);

private:
    struct TListener
    {
        TListenerId id;
        TChangeListener notify;
    };

    void NotifyListeners();

    std::vector<std::unique_ptr<TTokenAttribute>> FAttributes;
    std::vector<TListener> FListeners;
    TListenerId FNextListenerId = 1;
    std::string FDefaultFilter;
    bool FEnabled = true;
};
