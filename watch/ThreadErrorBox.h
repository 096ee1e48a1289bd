#pragma once
// The file watcher's error box: callable from any thread. The message goes to stderr at once and
// is shown on the user-interface thread in a box with no owner, the caption "Error" and a
// critical icon. Tests replace the box with a handler that records the messages.

#include <QString>

#include <functional>

class TThreadErrorBox
{
public:
    using THandler = std::function<void(const QString& message)>;

    static void Show(const QString& message);

    // Installs handler in place of the box (an empty handler brings the box back) and returns the
    // previous one. Call it on the user-interface thread.
    static THandler SetHandler(THandler handler);
};
