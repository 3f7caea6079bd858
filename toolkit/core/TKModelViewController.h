#pragma once
// A controller that follows one model and keeps four overlays of its view
// (empty, loading, model content, error) in step with the model's state;
// subclasses draw the overlays in the show hooks. Events that arrive while the
// view is not appearing only mark what is stale; the next update applies it.
#include <memory>
#include <optional>

#include "toolkit/core/TKModel.h"
#include "toolkit/core/TKViewController.h"

class TKModelViewController : public TKViewController, public TKModelDelegate {
 public:
  TKModelViewController();
  ~TKModelViewController() override;
  std::string className() const override { return "TKModelViewController"; }

  // The model; created on first use (createModel unless the navigator is
  // delayed, then the plain interstitial model when there is still none).
  std::shared_ptr<TKModel> model();
  void setModel(std::shared_ptr<TKModel> model);
  bool isModelCreated() const { return _model != nullptr; }
  const std::optional<ns::Error>& modelError() const { return _modelError; }
  void setModelError(const std::optional<ns::Error>& error);
  void invalidateModel();

  virtual void createModel() {}
  // A stand-in model while there is none (the table screen gives a loading data source).
  virtual void createInterstitialModel();

  virtual bool shouldLoad();
  virtual bool shouldReload();
  virtual bool shouldLoadMore() { return false; }
  virtual bool canShowModel() { return true; }

  void reload();
  void reloadIfNeeded();
  void refresh();
  virtual void beginUpdates();
  virtual void endUpdates();
  void invalidateView();
  void updateView();
  void updateViewStates();
  void resetViewStates();

  // Hooks.
  virtual void didRefreshModel() {}
  virtual void willLoadModel() {}
  virtual void didLoadModel(bool firstTime) { (void)firstTime; }
  virtual void didShowModel(bool firstTime) { (void)firstTime; }
  virtual void showLoading(bool show) { (void)show; }
  virtual void showModel(bool show) { (void)show; }
  virtual void showEmpty(bool show) { (void)show; }
  virtual void showError(bool show) { (void)show; }

  // TKModelDelegate
  void modelDidStartLoad(TKModel& model) override;
  void modelDidFinishLoad(TKModel& model) override;
  void modelDidFailLoadWithError(TKModel& model, const ns::Error& error) override;
  void modelDidCancelLoad(TKModel& model) override;
  void modelDidChange(TKModel& model) override;
  void modelDidBeginUpdates(TKModel& model) override;
  void modelDidEndUpdates(TKModel& model) override;

  void viewWillAppear(bool animated) override;
  void didReceiveMemoryWarning() override;
  void delayDidEnd() override { invalidateModel(); }

  struct Flags {
    bool isModelDidRefreshInvalid = false;
    bool isModelWillLoadInvalid = false;
    bool isModelDidLoadInvalid = false;
    bool isModelDidLoadFirstTimeInvalid = false;
    bool isModelDidShowFirstTimeInvalid = false;
    bool isViewInvalid = true;
    bool isViewSuspended = false;
    bool isUpdatingView = false;
    bool isShowingEmpty = false;
    bool isShowingLoading = false;
    bool isShowingModel = false;
    bool isShowingError = false;
  };
  const Flags& flags() const { return _flags; }

 protected:
  std::shared_ptr<TKModel> _model;
  std::optional<ns::Error> _modelError;
  Flags _flags;
};
