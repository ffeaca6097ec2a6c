#include "hook_recorder.h"

namespace kel_test {
namespace {

std::vector<Report> recorded;

void record(const char *file, int32_t line, const char *name) { recorded.push_back({file, line, name}); }

}  // namespace

HookRecorder::HookRecorder() : previous_(g_pfFloatAssertHook) {
  recorded.clear();
  KEL_FloatAssertReg(record);
}

HookRecorder::~HookRecorder() { KEL_FloatAssertReg(previous_); }

const std::vector<Report> &HookRecorder::reports() const { return recorded; }

std::vector<std::string> HookRecorder::names() const {
  std::vector<std::string> out;
  for (const Report &r : recorded) out.push_back(r.name);
  return out;
}

void HookRecorder::clear() { recorded.clear(); }

}  // namespace kel_test
