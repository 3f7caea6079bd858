#include "Classes/core/DDInvocationGrabber.h"

void DDInvocationGrabberBase::postInvocation() const {
  if (!invocation_) return;
  ns::RunLoop::main().post(invocation_);
}
