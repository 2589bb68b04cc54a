#include "adjust/AdjustChannelFields.h"

#include <array>
#include <cstddef>
#include <type_traits>

namespace adj {
namespace {

struct Access {
    int32_t (*get)(const datCh&) = nullptr;
    void (*set)(datCh&, int32_t) = nullptr;
};

// Bits first..first + width - 1 of a member; the other bits stay.
template <auto M, int First, int Width> int32_t GetBits(const datCh& r) {
    constexpr uint32_t mask = (1u << Width) - 1u;
    return static_cast<int32_t>(static_cast<uint32_t>(r.*M) >> First & mask);
}
template <auto M, int First, int Width> void SetBits(datCh& r, int32_t v) {
    using T = std::remove_reference_t<decltype(r.*M)>;
    constexpr uint32_t mask = (1u << Width) - 1u;
    const uint32_t word = static_cast<uint32_t>(r.*M);
    r.*M = static_cast<T>((word & ~(mask << First)) | (static_cast<uint32_t>(v) & mask) << First);
}
template <auto M, int First, int Width>
constexpr Access Bits{&GetBits<M, First, Width>, &SetBits<M, First, Width>};

template <auto M>
constexpr Access Whole{[](const datCh& r) { return static_cast<int32_t>(r.*M); },
                       [](datCh& r, int32_t v) {
                           using T = std::remove_reference_t<decltype(r.*M)>;
                           r.*M = static_cast<T>(v);
                       }};

// The lockout choice is P bits 5-6 below P bits 9-11.
constexpr Access kLockout{
    [](const datCh& r) { return static_cast<int32_t>((r.optionP >> 5 & 3u) | (r.optionP >> 9 & 7u) << 2); },
    [](datCh& r, int32_t v) {
        const uint32_t u = static_cast<uint32_t>(v);
        r.optionP = (r.optionP & ~(3u << 5 | 7u << 9)) | (u & 3u) << 5 | (u >> 2 & 7u) << 9;
    },
};

constexpr auto kAccess = [] {
    std::array<Access, static_cast<size_t>(ChField::Count)> t{};
    auto at = [&t](ChField f, Access a) { t[static_cast<size_t>(f)] = a; };
    at(ChField::RxInhibit, Bits<&datCh::flagC, 0, 1>);
    at(ChField::TxInhibit, Bits<&datCh::flagC, 1, 1>);
    at(ChField::Narrow, Bits<&datCh::optionP, 0, 1>);
    at(ChField::Compander, Bits<&datCh::optionP, 1, 1>);
    at(ChField::AutoChScan, Bits<&datCh::optionP, 2, 1>);
    at(ChField::PowerSave, Bits<&datCh::optionP, 3, 1>);
    at(ChField::Tot, Bits<&datCh::optionP, 4, 1>);
    at(ChField::RfPower, Bits<&datCh::optionP, 5, 2>);
    at(ChField::Lockout, kLockout);
    at(ChField::ScanMember, Whole<&datCh::groupBits>);
    at(ChField::ScanInc, Whole<&datCh::optionR>);
    at(ChField::AutoReset, Bits<&datCh::optionW, 0, 2>);
    at(ChField::Log, Bits<&datCh::optionW, 2, 4>);
    at(ChField::Monitor, Bits<&datCh::optionW, 6, 4>);
    at(ChField::Select, Bits<&datCh::optionW, 10, 2>);
    at(ChField::Call, Bits<&datCh::optionW, 12, 1>);
    at(ChField::Ptt, Bits<&datCh::optionW, 13, 1>);
    at(ChField::ChMute, Bits<&datCh::optionW, 14, 1>);
    at(ChField::ScrambleMode, Bits<&datCh::optionW, 15, 2>);
    at(ChField::TwoTone, Whole<&datCh::v6>);
    at(ChField::RxCode, Whole<&datCh::v7>);
    at(ChField::Form, Whole<&datCh::v2>);
    at(ChField::RptCode, Whole<&datCh::v3>);
    at(ChField::RptLong, Bits<&datCh::flagsF, 0, 1>);
    at(ChField::StnCode, Whole<&datCh::v4>);
    at(ChField::StnLong, Bits<&datCh::flagsF, 1, 1>);
    at(ChField::IdCode, Whole<&datCh::v5>);
    at(ChField::IdLong, Bits<&datCh::flagsF, 2, 1>);
    at(ChField::Position, Bits<&datCh::flagsF, 3, 2>);
    at(ChField::MskSignal, Bits<&datCh::optionQ, 0, 1>);
    at(ChField::SendStatus, Bits<&datCh::optionQ, 1, 1>);
    at(ChField::NoRepeater, Bits<&datCh::optionQ, 2, 1>);
    at(ChField::DigitalMode, Bits<&datCh::optionQ, 3, 2>);
    at(ChField::SqlType, Bits<&datCh::optionQ, 5, 2>);
    at(ChField::FastMute, Bits<&datCh::optionQ, 7, 1>);
    at(ChField::UnitId, Whole<&datCh::v10>);
    at(ChField::TgList, Whole<&datCh::v11>);
    return t;
}();

const Access& AccessOf(ChField f) {
    return kAccess[static_cast<size_t>(f)];
}

} // namespace

bool AdjustChannelFields::Keeps(ChField field) {
    return AccessOf(field).get != nullptr;
}

int32_t AdjustChannelFields::Get(ChField field) const {
    const Access& a = AccessOf(field);
    return a.get ? a.get(*record_) : 0;
}

void AdjustChannelFields::Set(ChField field, int32_t value) {
    if (const Access& a = AccessOf(field); a.set) a.set(*record_, value);
}

} // namespace adj
