// The fault report: the one place that reads the registered hook.
#include <atomic>

#include "kelsoft.h"

extern "C" {
FloatFaultHook g_pfFloatAssertHook = nullptr;
}

namespace {

// Every report names this file and the same line, whichever operation faulted:
// the report carries the class of the fault, not its origin.
constexpr const char *kReportPath = __FILE__;
constexpr int32_t kReportLine = 89;

// The hook stays a plain exported pointer that C code may assign; we access it
// atomically so that registration may run while other threads report.
std::atomic_ref<FloatFaultHook> hook_slot() { return std::atomic_ref<FloatFaultHook>(g_pfFloatAssertHook); }

}  // namespace

extern "C" void KEL_FloatAssertReg(FloatFaultHook hook) { hook_slot().store(hook, std::memory_order_release); }

extern "C" void KEL_SoftfpAssert(int32_t code) {
  const FloatFaultHook hook = hook_slot().load(std::memory_order_acquire);
  if (hook == nullptr) return;
  hook(kReportPath, kReportLine, KEL_GetTypeChar(code));
}
