#include "app/document/ReloadPrompt.h"

void TReloadPrompt::FileChanged(const std::function<bool()>& question)
{
    if (open_) {
        changedMeanwhile_ = true;
        return;
    }
    // Closed again however the question ends, also when the reload throws.
    struct TOpen
    {
        bool& flag;
        explicit TOpen(bool& f) : flag(f) { flag = true; }
        ~TOpen() { flag = false; }
    } const asking(open_);
    do {
        changedMeanwhile_ = false;
        if (question())
            return;
    } while (changedMeanwhile_);
}
