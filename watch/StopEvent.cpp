#include "watch/StopEvent.h"

#include "common/Error.h"

#include <cerrno>
#include <cstdint>
#include <sys/eventfd.h>
#include <system_error>
#include <unistd.h>

TStopEvent::TStopEvent() : FFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
    if (FFd < 0)
        throw EZorvitError("Cannot create stop event. " + std::generic_category().message(errno));
}

TStopEvent::~TStopEvent()
{
    close(FFd);
}

void TStopEvent::Signal()
{
    const std::uint64_t one = 1;
    while (write(FFd, &one, sizeof one) < 0)
        if (errno != EINTR)
            throw EZorvitError("Cannot signal stop event. " +
                               std::generic_category().message(errno));
}
