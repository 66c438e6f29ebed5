#pragma once
// Counters for the graph benchmarks that answer at once with levels that
// change every sample, so a cycle's cost is the shift and the repaint, not
// the system queries.

#include "monitor/level_sampler.h"
#include "platform/level_sources.h"
#include "platform/session.h"

namespace vellumar::bench {

class WavingSources : public CpuCounters,
                      public DynDataRegistry,
                      public MemoryCounters,
                      public VolumeSpace,
                      public MessageBoxes {
  public:
    std::uint32_t PlatformId() override { return 2; }
    NtStatus QueryProcessorCount(int& count) override {
        count = 2;
        return 0;
    }
    NtStatus QuerySystemTime(std::int64_t& time) override {
        time_ += 10'000'000;
        time = time_;
        return 0;
    }
    NtStatus QueryIdleTime(std::int64_t& idle) override {
        idle_ += (++step_ * 7919) % 20'000'000;
        idle = idle_;
        return 0;
    }
    long OpenKey(const std::string&, std::uint32_t, Key&) override { return 2; }
    long QueryDword(Key, const std::string&, std::uint32_t&) override { return 2; }
    void CloseKey(Key) override {}
    MemoryStatusBytes QueryMemoryStatus() override {
        const std::uint64_t wave = (step_ * 37) % 1000;
        return {
            static_cast<std::uint32_t>(wave / 10), 1000, 1000 - wave, 1000, wave / 2, 1000, wave};
    }
    bool HasExtendedQuery() override { return true; }
    bool QueryExtended(const std::string&, std::uint64_t& available, std::uint64_t& total,
                       std::uint64_t& free) override {
        total = 1'000'000;
        free = 400'000 + (step_ * 101) % 1000;
        available = free;
        return true;
    }
    bool QueryClusters(const std::string&, std::uint32_t&, std::uint32_t&, std::uint32_t&,
                       std::uint32_t&) override {
        return false;
    }
    std::string WindowsDirectory() override { return "C:\\Windows"; }
    void ShowMessage(const std::string&, const std::string&) override {}
    void ShowInformation(const std::string&, const std::string&) override {}

    LevelSources Sources() { return {*this, *this, *this, *this, *this, "bench"}; }

  private:
    std::int64_t time_ = 0;
    std::int64_t idle_ = 0;
    std::uint64_t step_ = 0;
};

}  // namespace vellumar::bench
