#include "framework/internal/KernelHooks.h"

namespace afc {
namespace {
KernelHooks& Hooks() {
  static KernelHooks hooks;
  return hooks;
}
}  // namespace

void SetKernelHooks(const KernelHooks& hooks) { Hooks() = hooks; }
const KernelHooks& GetKernelHooks() { return Hooks(); }

}  // namespace afc
