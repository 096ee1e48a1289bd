#pragma once
// Keeps the reload question for a changed file from piling up. The question is modal, so the
// watcher's next notices arrive while it is still open: they raise no second question but are
// remembered, and when the user answers No while the file changed again meanwhile, the question
// is asked once more.

#include <functional>

class TReloadPrompt
{
public:
    // Asks through question (true: the file was reloaded), unless a question is open already.
    void FileChanged(const std::function<bool()>& question);

    bool QuestionOpen() const { return FOpen; }

private:
    bool FOpen = false;
    bool FChangedMeanwhile = false;
};
