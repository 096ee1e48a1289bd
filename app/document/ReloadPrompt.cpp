#include "app/document/ReloadPrompt.h"

void TReloadPrompt::FileChanged(const std::function<bool()>& question)
{
    if (FOpen) {
        FChangedMeanwhile = true;
        return;
    }
    // Closed again however the question ends, also when the reload throws.
    struct TOpen
    {
        bool& flag;
        explicit TOpen(bool& f) : flag(f) { flag = true; }
        ~TOpen() { flag = false; }
    } const asking(FOpen);
    do {
        FChangedMeanwhile = false;
        if (question())
            return;
    } while (FChangedMeanwhile);
}
