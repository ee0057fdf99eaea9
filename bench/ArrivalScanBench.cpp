// The arrival scan against the host queries it cannot do without: for vessels of no crew
// class, the three calls that reach the class name; for walkers outside the airlock, every
// query up to and including the position test.
#include <benchmark/benchmark.h>

#include "bench/BenchWorld.h"
#include "bench/Benchmarks.h"
#include "bench/Goals.h"

namespace bench {

namespace {

// The scan's set-up is right when one scan finds nothing and, for walkers, has read the crew
// data of a walker (the fields are written before the position test); for vessels of no
// crew class it must not get that far.
constexpr int32_t kUntouched = -7;

bool scanReachesItsTests(CrewLinkRecord& link, bool walkers, std::string& error) {
    link.arrivalAge = kUntouched;
    link.pollTimer = 1.0;
    const int32_t found = link.ScanForArrivals();
    if (found != 0) {
        error = "the scan found a vessel (" + std::to_string(found) + ")";
        return false;
    }
    const int32_t expected = walkers ? static_cast<int32_t>(kWalkerAge) : kUntouched;
    if (link.arrivalAge != expected) {
        error = "the scan did not run the tests it is measured for (age " +
                std::to_string(link.arrivalAge) + ")";
        return false;
    }
    return true;
}

void bareIdleLoop() {
    const unsigned int count = vapiGetVesselCount();
    for (unsigned int index = 0; index < count; ++index) {
        OBJHANDLE vessel = vapiGetVesselByIndex(index);
        const VESSEL* iface = vapiGetVesselInterface(vessel);
        const char* className = iface->GetClassNameA();
        benchmark::DoNotOptimize(className);
    }
}

void bareWalkerLoop(OBJHANDLE own, const VESSEL& ownIface) {
    const unsigned int count = vapiGetVesselCount();
    for (unsigned int index = 0; index < count; ++index) {
        OBJHANDLE vessel = vapiGetVesselByIndex(index);
        if (vessel == own) {
            continue;
        }
        const VESSEL* iface = vapiGetVesselInterface(vessel);
        const char* className = iface->GetClassNameA();
        benchmark::DoNotOptimize(className);
        const unsigned int points = iface->AttachmentCount(true);
        char objectName[96];
        vapiGetObjectName(vessel, objectName, sizeof objectName);
        benchmark::DoNotOptimize(objectName);
        ATTACHMENTHANDLE point = iface->GetAttachmentHandle(true, points - 1);
        const char* id = iface->GetAttachmentId(point);
        benchmark::DoNotOptimize(id);
        VECTOR3 data, dir, rot;
        iface->GetAttachmentParams(point, data, dir, rot);
        benchmark::DoNotOptimize(data);
        const char* name = iface->GetName();
        benchmark::DoNotOptimize(name);
        VECTOR3 ownGlobal, otherGlobal, ownLocal, otherLocal;
        vapiGetGlobalPos(own, &ownGlobal);
        vapiGetGlobalPos(vessel, &otherGlobal);
        ownIface.Global2Local(ownGlobal, ownLocal);
        ownIface.Global2Local(otherGlobal, otherLocal);
        benchmark::DoNotOptimize(ownLocal);
        benchmark::DoNotOptimize(otherLocal);
    }
}

void runScan(benchmark::State& state, bool walkers, bool bare, int vessels) {
    BenchWorld& made = worldFor({walkers ? Layout::Walkers : Layout::Scan, vessels});
    std::string error = made.error;
    if (error.empty()) {
        scanReachesItsTests(made.receiver->crew.Link(), walkers, error);
    }
    if (!error.empty()) {
        state.SkipWithError(error.c_str());
        return;
    }
    CrewLinkRecord& link = made.receiver->crew.Link();
    OBJHANDLE own = made.receiver->GetHandle();
    for (auto _ : state) {
        if (bare) {
            if (walkers) {
                bareWalkerLoop(own, *made.receiver);
            } else {
                bareIdleLoop();
            }
        } else {
            link.pollTimer = 1.0; // due now
            benchmark::DoNotOptimize(link.ScanForArrivals());
        }
    }
    state.counters["vessels"] = static_cast<double>(vapiGetVesselCount());
}

} // namespace

void registerArrivalScans() {
    for (int n : idleScanCounts()) {
        for (bool bare : {true, false}) {
            benchmark::RegisterBenchmark(scanName(false, bare, n).c_str(), runScan, false, bare, n);
        }
    }
    for (int n : walkerScanCounts()) {
        for (bool bare : {true, false}) {
            benchmark::RegisterBenchmark(scanName(true, bare, n).c_str(), runScan, true, bare, n);
        }
    }
}

} // namespace bench
