#pragma once

#include <QtGlobal>

#include <initializer_list>

// Kind of device the program runs on, as a platform's device service names it.
enum class TDeviceClass : quint8 {
    Unknown,
    Desktop,
    Phone,
    MediaPlayer,
    Tablet,
    Automotive,
    Industrial,
    Embedded,
    Watch,
    Glasses,
    Elf,
    Dwarf,
    Wizard
};

enum class TDeviceFeature : quint8 {
    HasTouchScreen
};

// A one-byte set of device features.
class TDeviceFeatures
{
public:
    constexpr TDeviceFeatures() = default;
    constexpr TDeviceFeatures(std::initializer_list<TDeviceFeature> AFeatures)
    {
        for (TDeviceFeature feature : AFeatures)
            FBits = quint8(FBits | Bit(feature));
    }

    constexpr bool Contains(TDeviceFeature AFeature) const { return (FBits & Bit(AFeature)) != 0; }
    constexpr bool IsEmpty() const { return FBits == 0; }
    constexpr quint8 Bits() const { return FBits; }
    friend constexpr bool operator==(TDeviceFeatures, TDeviceFeatures) = default;

private:
    static constexpr quint8 Bit(TDeviceFeature AFeature) { return quint8(1u << quint8(AFeature)); }

    quint8 FBits = 0;
};

// Start-up of the unit Orv.Types: reports itself to the message log once.
void OrvTypes_ModuleInit();
void OrvTypes_ModuleFinalize();
