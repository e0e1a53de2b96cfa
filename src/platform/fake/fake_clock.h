#pragma once
// A clock that only moves when told: Sleep advances it, so tests never wait.
#include "platform/system.h"

namespace platform {

class FakeClock final : public Clock {
  public:
    std::uint64_t milliseconds = 1000000;
    std::string local_time_and_date = "14:03:27 06.12.2026";
    int time_zone_minutes = 180;  // local time minus UTC (Moscow)

    std::uint64_t Milliseconds() const override { return milliseconds; }
    void Sleep(unsigned ms) override { milliseconds += ms; }
    std::string LocalTimeAndDate() const override { return local_time_and_date; }
    // 0 outside the years the packed form holds (1980-2107), where the platform's call fails.
    std::uint32_t LocalDosDateTime(std::int64_t file_time) const override;
};

}  // namespace platform
