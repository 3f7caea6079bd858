#include "toolkit/core/TKModelViewController.h"

#include "toolkit/core/TKNavigator.h"

namespace {
constexpr int kCachePolicyDefault = 7;  // memory, disk and network
constexpr int kCachePolicyNetwork = 4;
}  // namespace

TKModelViewController::TKModelViewController() = default;

TKModelViewController::~TKModelViewController() {
  if (_model) _model->removeDelegate(this);
}

std::shared_ptr<TKModel> TKModelViewController::model() {
  if (!_model) {
    if (!TKNavigator::navigator().isDelayed()) createModel();
    if (!_model) createInterstitialModel();
  }
  return _model;
}

void TKModelViewController::createInterstitialModel() { setModel(std::make_shared<TKModel>()); }

void TKModelViewController::setModel(std::shared_ptr<TKModel> model) {
  if (model == _model) return;
  if (_model) _model->removeDelegate(this);
  _model = std::move(model);
  if (_model) _model->addDelegate(this);
  _modelError.reset();
  if (_model) {
    _flags.isModelWillLoadInvalid = false;
    _flags.isModelDidLoadInvalid = false;
    _flags.isModelDidLoadFirstTimeInvalid = false;
    _flags.isModelDidShowFirstTimeInvalid = true;
  }
  refresh();
}

void TKModelViewController::setModelError(const std::optional<ns::Error>& error) {
  if (error == _modelError) return;
  _modelError = error;
  invalidateView();
}

void TKModelViewController::invalidateModel() {
  bool hadModel = _model != nullptr;
  resetViewStates();
  if (_model) _model->removeDelegate(this);
  _model.reset();
  if (hadModel) model();
}

bool TKModelViewController::shouldLoad() { return !model()->isLoaded(); }

bool TKModelViewController::shouldReload() { return _modelError ? false : model()->isOutdated(); }

void TKModelViewController::reload() {
  _flags.isViewInvalid = true;
  model()->load(kCachePolicyNetwork, false);
}

void TKModelViewController::reloadIfNeeded() {
  if (shouldReload() && !model()->isLoading()) reload();
}

void TKModelViewController::refresh() {
  _flags.isViewInvalid = true;
  _flags.isModelDidRefreshInvalid = true;
  std::shared_ptr<TKModel> m = model();
  bool loading = m->isLoading();
  bool loaded = m->isLoaded();
  if (!loading && !loaded && shouldLoad()) {
    m->load(kCachePolicyDefault, false);
  } else if (!loading && loaded && shouldReload()) {
    m->load(kCachePolicyNetwork, false);
  } else if (!loading && shouldLoadMore()) {
    m->load(kCachePolicyDefault, true);
  } else {
    _flags.isModelDidLoadInvalid = true;
    if (_isViewAppearing) updateView();
  }
}

void TKModelViewController::beginUpdates() { _flags.isViewSuspended = true; }

void TKModelViewController::endUpdates() {
  _flags.isViewSuspended = false;
  updateView();
}

void TKModelViewController::invalidateView() {
  _flags.isViewInvalid = true;
  if (_isViewAppearing) updateView();
}

void TKModelViewController::updateView() {
  if (!_flags.isViewInvalid || _flags.isViewSuspended || _flags.isUpdatingView) return;
  _flags.isUpdatingView = true;
  model();
  view();
  updateViewStates();
  if (_frozenState && _flags.isShowingModel) {
    ns::Dictionary state = std::move(*_frozenState);
    _frozenState.reset();
    restoreView(state);
  }
  _flags.isViewInvalid = false;
  _flags.isUpdatingView = false;
  reloadIfNeeded();
}

void TKModelViewController::updateViewStates() {
  if (_flags.isModelDidRefreshInvalid) {
    didRefreshModel();
    _flags.isModelDidRefreshInvalid = false;
  }
  if (_flags.isModelWillLoadInvalid) {
    willLoadModel();
    _flags.isModelWillLoadInvalid = false;
  }
  if (_flags.isModelDidLoadInvalid) {
    didLoadModel(_flags.isModelDidLoadFirstTimeInvalid);
    _flags.isModelDidLoadInvalid = false;
    _flags.isModelDidLoadFirstTimeInvalid = false;
    _flags.isShowingModel = false;
  }
  std::shared_ptr<TKModel> m = model();
  bool showModelNow = false, showLoadingNow = false, showErrorNow = false, showEmptyNow = false;

  bool modelWanted = (m->isLoaded() || !shouldLoad()) && canShowModel();
  if (modelWanted && !_flags.isShowingModel) {
    _flags.isShowingModel = showModelNow = true;
  } else if (!modelWanted && _flags.isShowingModel) {
    showModel(false);
    _flags.isShowingModel = false;
  }
  bool loadingWanted = m->isLoading();
  if (loadingWanted && !_flags.isShowingLoading) {
    _flags.isShowingLoading = showLoadingNow = true;
  } else if (!loadingWanted && _flags.isShowingLoading) {
    showLoading(false);
    _flags.isShowingLoading = false;
  }
  bool errorWanted = _modelError.has_value();
  if (errorWanted && !_flags.isShowingError) {
    _flags.isShowingError = showErrorNow = true;
  } else if (!errorWanted && _flags.isShowingError) {
    showError(false);
    _flags.isShowingError = false;
  }
  bool emptyWanted = !_flags.isShowingLoading && !_flags.isShowingModel && !_flags.isShowingError;
  if (emptyWanted && !_flags.isShowingEmpty) {
    _flags.isShowingEmpty = showEmptyNow = true;
  } else if (!emptyWanted && _flags.isShowingEmpty) {
    showEmpty(false);
    _flags.isShowingEmpty = false;
  }

  if (showModelNow) {
    showModel(true);
    didShowModel(_flags.isModelDidShowFirstTimeInvalid);
    _flags.isModelDidShowFirstTimeInvalid = false;
  }
  if (showEmptyNow) showEmpty(true);
  if (showErrorNow) showError(true);
  if (showLoadingNow) showLoading(true);
}

void TKModelViewController::resetViewStates() {
  if (_flags.isShowingLoading) showLoading(false), _flags.isShowingLoading = false;
  if (_flags.isShowingModel) showModel(false), _flags.isShowingModel = false;
  if (_flags.isShowingError) showError(false), _flags.isShowingError = false;
  if (_flags.isShowingEmpty) showEmpty(false), _flags.isShowingEmpty = false;
}

void TKModelViewController::modelDidStartLoad(TKModel& m) {
  if (&m != model().get()) return;
  _flags.isModelWillLoadInvalid = true;
  _flags.isModelDidLoadFirstTimeInvalid = true;
  invalidateView();
}

void TKModelViewController::modelDidFinishLoad(TKModel& m) {
  if (&m != _model.get()) return;
  _modelError.reset();
  _flags.isModelDidLoadInvalid = true;
  invalidateView();
}

void TKModelViewController::modelDidFailLoadWithError(TKModel& m, const ns::Error& error) {
  if (&m == _model.get()) setModelError(error);
}

void TKModelViewController::modelDidCancelLoad(TKModel& m) {
  if (&m == _model.get()) invalidateView();
}

void TKModelViewController::modelDidChange(TKModel& m) {
  if (&m == _model.get()) refresh();
}

void TKModelViewController::modelDidBeginUpdates(TKModel& m) {
  if (&m == _model.get()) beginUpdates();
}

void TKModelViewController::modelDidEndUpdates(TKModel& m) {
  if (&m == _model.get()) endUpdates();
}

void TKModelViewController::viewWillAppear(bool animated) {
  _isViewAppearing = true;
  _hasViewAppeared = true;
  updateView();
  TKViewController::viewWillAppear(animated);
}

void TKModelViewController::didReceiveMemoryWarning() {
  if (_hasViewAppeared && !_isViewAppearing) {
    TKViewController::didReceiveMemoryWarning();
    refresh();
    return;
  }
  TKViewController::didReceiveMemoryWarning();
}
