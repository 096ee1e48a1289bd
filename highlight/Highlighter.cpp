#include "highlight/Highlighter.h"

#include <algorithm>
#include <utility>

namespace {

unsigned char FoldCase(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 'a' && byte <= 'z') ? static_cast<unsigned char>(byte - 'a' + 'A') : byte;
}

bool LessIgnoringCase(std::string_view a, std::string_view b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return FoldCase(x) < FoldCase(y); });
}

}  // namespace

THighlighter::THighlighter() = default;

THighlighter::~THighlighter() = default;

void THighlighter::CopyFrom(const THighlighter& source)
{
    if (&source == this)
        return;
    for (const auto& target : FAttributes) {
        const auto namesake = std::find_if(
            source.FAttributes.begin(), source.FAttributes.end(),
            [&](const auto& candidate) { return candidate->Name() == target->Name(); });
        if (namesake != source.FAttributes.end())
            target->Assign(**namesake);
    }
    SetDefaultFilter(source.FDefaultFilter);
    SetEnabled(source.FEnabled);
}

int THighlighter::AttributeCount() const
{
    return static_cast<int>(FAttributes.size());
}

TTokenAttribute* THighlighter::AttributeAt(int index) const
{
    if (index < 0 || index >= AttributeCount())
        return nullptr;
    return FAttributes[static_cast<std::size_t>(index)].get();
}

void THighlighter::SetDefaultFilter(std::string filter)
{
    FDefaultFilter = std::move(filter);
}

bool THighlighter::KeepsStartState(std::string_view) const
{
    return false;
}

void THighlighter::SetEnabled(bool value)
{
    if (FEnabled == value)
        return;
    FEnabled = value;
    NotifyListeners();
}

THighlighter::TListenerId THighlighter::AddChangeListener(TChangeListener listener)
{
    const TListenerId id = FNextListenerId++;
    FListeners.push_back({id, std::move(listener)});
    return id;
}

void THighlighter::RemoveChangeListener(TListenerId id)
{
    std::erase_if(FListeners, [id](const TListener& listener) { return listener.id == id; });
}

TTokenAttribute& THighlighter::RegisterAttribute(std::unique_ptr<TTokenAttribute> attribute)
{
    attribute->OnChange = [this](TTokenAttribute&) { NotifyListeners(); };
    const auto place = std::upper_bound(FAttributes.begin(), FAttributes.end(), attribute->Name(),
                                        [](const std::string& name, const auto& registered) {
                                            return LessIgnoringCase(name, registered->Name());
                                        });
    return **FAttributes.insert(place, std::move(attribute));
}

void THighlighter::NotifyListeners()
{
    // Listeners may add or remove listeners while being told: walk a snapshot of the ids and
    // skip any that has gone in the meantime.
    std::vector<TListenerId> ids;
    ids.reserve(FListeners.size());
    for (const TListener& listener : FListeners)
        ids.push_back(listener.id);
    for (const TListenerId id : ids) {
        const auto found =
            std::find_if(FListeners.begin(), FListeners.end(),
                         [id](const TListener& listener) { return listener.id == id; });
        if (found != FListeners.end()) {
            const TChangeListener notify = found->notify;
            notify();
        }
    }
}
