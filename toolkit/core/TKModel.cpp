#include "toolkit/core/TKModel.h"

#include <algorithm>

void TKModel::addDelegate(TKModelDelegate* delegate) {
  if (delegate && std::find(_delegates.begin(), _delegates.end(), delegate) == _delegates.end())
    _delegates.push_back(delegate);
}

void TKModel::removeDelegate(TKModelDelegate* delegate) {
  _delegates.erase(std::remove(_delegates.begin(), _delegates.end(), delegate), _delegates.end());
}

void TKModel::broadcast(const std::function<void(TKModelDelegate&)>& message) {
  std::vector<TKModelDelegate*> snapshot = _delegates;
  for (TKModelDelegate* d : snapshot)
    if (std::find(_delegates.begin(), _delegates.end(), d) != _delegates.end()) message(*d);
}

void TKModel::didStartLoad() { broadcast([this](TKModelDelegate& d) { d.modelDidStartLoad(*this); }); }
void TKModel::didFinishLoad() { broadcast([this](TKModelDelegate& d) { d.modelDidFinishLoad(*this); }); }
void TKModel::didFailLoadWithError(const ns::Error& error) {
  broadcast([&](TKModelDelegate& d) { d.modelDidFailLoadWithError(*this, error); });
}
void TKModel::didCancelLoad() { broadcast([this](TKModelDelegate& d) { d.modelDidCancelLoad(*this); }); }
void TKModel::beginUpdates() { broadcast([this](TKModelDelegate& d) { d.modelDidBeginUpdates(*this); }); }
void TKModel::endUpdates() { broadcast([this](TKModelDelegate& d) { d.modelDidEndUpdates(*this); }); }
void TKModel::didUpdateObject(const ns::Value& object, const ns::Value& indexPath) {
  broadcast([&](TKModelDelegate& d) { d.modelDidUpdateObject(*this, object, indexPath); });
}
void TKModel::didInsertObject(const ns::Value& object, const ns::Value& indexPath) {
  broadcast([&](TKModelDelegate& d) { d.modelDidInsertObject(*this, object, indexPath); });
}
void TKModel::didDeleteObject(const ns::Value& object, const ns::Value& indexPath) {
  broadcast([&](TKModelDelegate& d) { d.modelDidDeleteObject(*this, object, indexPath); });
}
void TKModel::didChange() { broadcast([this](TKModelDelegate& d) { d.modelDidChange(*this); }); }
