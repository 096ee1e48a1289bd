#pragma once
// Owns a POSIX file descriptor and closes it when it goes out of scope.

#include <unistd.h>

class TFileDescriptor
{
public:
    explicit TFileDescriptor(int descriptor) : FDescriptor(descriptor) {}
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;
    ~TFileDescriptor()
    {
        if (FDescriptor >= 0)
            ::close(FDescriptor);
    }

    int Get() const { return FDescriptor; }

    // Closes now, so that a failing close (a late write error) is seen.
    bool Close()
    {
        const int descriptor = FDescriptor;
        FDescriptor = -1;
        return ::close(descriptor) == 0;
    }

private:
    int FDescriptor;
};
