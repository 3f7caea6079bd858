#include "src/JSON/JSONCodecBase.h"

void JSONCodecBase::addErrorWithCode(int code, std::string description) {
  JSONErrorRef previous = errorTrace_.empty() ? nullptr : errorTrace_.back();
  errorTrace_.push_back(std::make_shared<const JSONError>(
      JSONError{JSONErrorDomain, code, std::move(description), std::move(previous)}));
}

bool JSONCodecBase::setMaxDepth(unsigned maxDepth) {
  if (maxDepth == 0 || maxDepth > kMaxDepthCeiling) return false;
  maxDepth_.store(maxDepth);
  return true;
}

bool JSONCodecBase::enterNesting() {
  if (++depth <= maxDepth()) return true;
  addErrorWithCode(JSONErrorDepth, "Nested too deep");
  return false;
}
