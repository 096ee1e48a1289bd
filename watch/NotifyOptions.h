#pragma once
// The kinds of change a file watcher reports, and the notify filter they select. The filter bits
// are the watcher's own vocabulary: the snapshot comparison and the inotify mask are both derived
// from them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

enum class TATFileNotifyOption : std::uint8_t {
    foNotifyFilename,
    foNotifyDirname,
    foNotifyAttributes,
    foNotifySize,
    foNotifyLastWrite,
    foNotifyLastAccess,
    foNotifyCreation,
    foNotifySecurity,
};

constexpr std::uint32_t kNotifyFileName = 0x001;
constexpr std::uint32_t kNotifyDirName = 0x002;
constexpr std::uint32_t kNotifyAttributes = 0x004;
constexpr std::uint32_t kNotifySize = 0x008;
constexpr std::uint32_t kNotifyLastWrite = 0x010;
constexpr std::uint32_t kNotifyLastAccess = 0x020;
constexpr std::uint32_t kNotifyCreation = 0x040;
constexpr std::uint32_t kNotifySecurity = 0x100;

// A set of options, one bit per option in declaration order.
class TATFileNotifyOptions
{
public:
    constexpr TATFileNotifyOptions() = default;
    constexpr TATFileNotifyOptions(std::initializer_list<TATFileNotifyOption> options)
    {
        for (const TATFileNotifyOption option : options)
            FBits |= Bit(option);
    }

    constexpr bool Contains(TATFileNotifyOption option) const { return (FBits & Bit(option)) != 0; }

    // The notify filter: the sum of the filter bits of the members.
    constexpr std::uint32_t Filter() const
    {
        std::uint32_t filter = 0;
        for (std::size_t i = 0; i < kFilterBits.size(); ++i)
            if (Contains(static_cast<TATFileNotifyOption>(i)))
                filter |= kFilterBits[i];
        return filter;
    }

    constexpr bool operator==(const TATFileNotifyOptions&) const = default;

private:
    // Filter bit of each option, in declaration order (no option selects 0x080).
    static constexpr std::array<std::uint32_t, 8> kFilterBits = {
        kNotifyFileName,  kNotifyDirName,    kNotifyAttributes, kNotifySize,
        kNotifyLastWrite, kNotifyLastAccess, kNotifyCreation,   kNotifySecurity,
    };

    static constexpr std::uint8_t Bit(TATFileNotifyOption option)
    {
        return static_cast<std::uint8_t>(1u << static_cast<unsigned>(option));
    }

    std::uint8_t FBits = 0;
};

constexpr TATFileNotifyOptions kDefaultNotifyOptions = {TATFileNotifyOption::foNotifyFilename,
                                                        TATFileNotifyOption::foNotifyDirname,
                                                        TATFileNotifyOption::foNotifyLastWrite};
