// The Linux device layer over a generated tree: listing, ordering and reading the
// identity attributes of every device.
#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/device_set.h"
#include "platform/sysfs_usb.h"
#include "scan/usb_scan.h"

namespace {

// A list folder of `count` devices, each a folder with the three identity attributes.
std::string MakeTree(int count) {
  char folder[] = "/tmp/usboffer-bench-XXXXXX";
  if (mkdtemp(folder) == nullptr) std::abort();
  for (int i = 0; i < count; ++i) {
    const std::string device = std::string(folder) + "/1-" + std::to_string(i + 1);
    mkdir(device.c_str(), 0755);
    std::ofstream(device + "/idVendor") << "1234\n";
    std::ofstream(device + "/idProduct") << "abcd\n";
    std::ofstream(device + "/bcdDevice") << "0100\n";
  }
  return folder;
}

void SysfsScan(benchmark::State& state) {
  const int devices = static_cast<int>(state.range(0));
  const std::string tree = MakeTree(devices);
  for (auto _ : state) {
    DeviceSet* set = OpenUsbDeviceSetAt(tree.c_str());
    char buffer[HardwareIdBufferSize];
    for (uint32_t i = 0; EnumDevice(set, i); ++i) {
      benchmark::DoNotOptimize(ReadHardwareIdProperty(set, buffer, sizeof buffer));
    }
    CloseDeviceSet(set);
  }
  state.SetItemsProcessed(state.iterations() * devices);
  if (std::system(("rm -rf '" + tree + "'").c_str()) != 0) state.SkipWithError("cleanup failed");
}
BENCHMARK(SysfsScan)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
