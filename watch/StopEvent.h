#pragma once
// The event that tells a watcher's worker to stop waiting: an eventfd, not signalled when it is
// created, that poll() sees as readable once signalled.

class TStopEvent
{
public:
    TStopEvent();  // throws EZorvitError when no eventfd can be made
    ~TStopEvent();
    TStopEvent(const TStopEvent&) = delete;
    TStopEvent& operator=(const TStopEvent&) = delete;

    void Signal();  // any thread
    int Handle() const { return FFd; }

private:
    int FFd;
};
