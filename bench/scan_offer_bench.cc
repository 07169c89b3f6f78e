// The scan and offer over the fake platform at growing device counts: the cost per
// device must stay flat.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "fake_platform.h"
#include "scan/usb_scan.h"

namespace {

void ScanAndOffer(benchmark::State& state) {
  const int devices = static_cast<int>(state.range(0));
  fake::Reset();
  for (int i = 0; i < devices; ++i) {
    char id[64];
    std::snprintf(id, sizeof id, "USB\\VID_1234&PID_%04X&REV_0100", i & 0xFFFF);
    fake::script.devices.push_back(fake::WithIds({id, id}));
  }
  for (auto _ : state) {
    fake::events.clear();
    ScanUsbDevices();
  }
  state.SetItemsProcessed(state.iterations() * devices);
}
BENCHMARK(ScanAndOffer)->Arg(10)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
