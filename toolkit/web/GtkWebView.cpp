#include "toolkit/web/GtkWebView.h"

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "platform/foundation/String.h"
#include "platform/foundation/URLConnection.h"
#include "platform/graphics/Context.h"
#include "toolkit/web/WebKitEngine.h"

namespace ui {

namespace {

int pixels(float points) { return std::max(1, static_cast<int>(std::lround(points))); }

WebViewNavigationType navigationType(WebKitNavigationType type) {
  switch (type) {
    case WEBKIT_NAVIGATION_TYPE_LINK_CLICKED: return WebViewNavigationType::LinkClicked;
    case WEBKIT_NAVIGATION_TYPE_FORM_SUBMITTED: return WebViewNavigationType::FormSubmitted;
    case WEBKIT_NAVIGATION_TYPE_BACK_FORWARD: return WebViewNavigationType::BackForward;
    case WEBKIT_NAVIGATION_TYPE_RELOAD: return WebViewNavigationType::Reload;
    case WEBKIT_NAVIGATION_TYPE_FORM_RESUBMITTED: return WebViewNavigationType::FormResubmitted;
    default: return WebViewNavigationType::Other;
  }
}

// WebKit's and GIO's errors in the platform's domains and numbers, which the
// controllers read.
ns::Error platformError(const GError* error) {
  std::string text = error && error->message ? error->message : "";
  if (!error) return {ns::kURLErrorDomain, ns::kURLErrorUnknown, text};
  if (error->domain == WEBKIT_NETWORK_ERROR && error->code == WEBKIT_NETWORK_ERROR_CANCELLED)
    return {ns::kURLErrorDomain, ns::kURLErrorCancelled, text};
  if (error->domain == WEBKIT_POLICY_ERROR)
    return {kWebKitErrorDomain, kWebKitErrorFrameLoadInterrupted, text};
  if (error->domain == G_RESOLVER_ERROR) return {ns::kURLErrorDomain, ns::kURLErrorCannotFindHost, text};
  if (error->domain == G_IO_ERROR) {
    switch (error->code) {
      case G_IO_ERROR_TIMED_OUT: return {ns::kURLErrorDomain, ns::kURLErrorTimedOut, text};
      case G_IO_ERROR_CONNECTION_REFUSED:
      case G_IO_ERROR_HOST_UNREACHABLE:
      case G_IO_ERROR_NETWORK_UNREACHABLE: return {ns::kURLErrorDomain, ns::kURLErrorCannotConnectToHost, text};
      case G_IO_ERROR_BROKEN_PIPE: return {ns::kURLErrorDomain, ns::kURLErrorNetworkConnectionLost, text};
      default: break;
    }
  }
  if (error->domain == G_TLS_ERROR) return {ns::kURLErrorDomain, ns::kURLErrorSecureConnectionFailed, text};
  return {ns::kURLErrorDomain, ns::kURLErrorUnknown, text};
}

GdkModifierType gdkModifiers(unsigned modifiers) {
  unsigned state = 0;
  if (modifiers & KeyModifierShift) state |= GDK_SHIFT_MASK;
  if (modifiers & KeyModifierControl) state |= GDK_CONTROL_MASK;
  if (modifiers & KeyModifierAlt) state |= GDK_MOD1_MASK;
  if (modifiers & KeyModifierMeta) state |= GDK_META_MASK;
  return static_cast<GdkModifierType>(state);
}

// Our key names are GDK's, but for the page keys.
unsigned keyvalFor(const std::string& name) {
  if (name == "PageUp") return GDK_KEY_Page_Up;
  if (name == "PageDown") return GDK_KEY_Page_Down;
  if (name == "Space") return GDK_KEY_space;
  std::u32string character = ns::utf8ToUtf32(name);
  if (character.size() == 1) return gdk_unicode_to_keyval(ns::utf8ToUtf32(ns::lowercase(name))[0]);
  unsigned keyval = gdk_keyval_from_name(name.c_str());
  return keyval == GDK_KEY_VoidSymbol ? 0 : keyval;
}

GdkDevice* pointer() {
  return gdk_seat_get_pointer(gdk_display_get_default_seat(gdk_display_get_default()));
}

GdkDevice* keyboard() {
  return gdk_seat_get_keyboard(gdk_display_get_default_seat(gdk_display_get_default()));
}

}  // namespace

// The GObject signal handlers; `self` is the view, which disconnects them all
// before it lets the page go.
struct GtkWebView::Signals {
  static gboolean decidePolicy(::WebKitWebView*, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                               gpointer data) {
    auto* self = static_cast<GtkWebView*>(data);
    if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE) {
      // A page shows what it can; the rest (files to save) is not loaded.
      auto* response = WEBKIT_RESPONSE_POLICY_DECISION(decision);
      if (webkit_response_policy_decision_is_mime_type_supported(response))
        webkit_policy_decision_use(decision);
      else
        webkit_policy_decision_ignore(decision);
      return TRUE;
    }
    auto* navigation = WEBKIT_NAVIGATION_POLICY_DECISION(decision);
    WebKitNavigationAction* action = webkit_navigation_policy_decision_get_navigation_action(navigation);
    WebKitURIRequest* request = webkit_navigation_action_get_request(action);
    const char* uri = webkit_uri_request_get_uri(request);
    std::string url = uri ? uri : "";
    bool allowed = self->askShouldStart(url, navigationType(webkit_navigation_action_get_navigation_type(action)));
    if (allowed && type == WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION) {
      // A page's new window opens here, in the one page the screen has.
      webkit_web_view_load_request(self->web_, request);
      webkit_policy_decision_ignore(decision);
      return TRUE;
    }
    if (allowed)
      webkit_policy_decision_use(decision);
    else
      webkit_policy_decision_ignore(decision);
    return TRUE;
  }

  static void loadChanged(::WebKitWebView* web, WebKitLoadEvent event, gpointer data) {
    auto* self = static_cast<GtkWebView*>(data);
    if (event == WEBKIT_LOAD_STARTED) {
      self->loading_ = true;
      self->failed_ = false;
      ++self->loadSerial_;
      self->tellDidStart();
    } else if (event == WEBKIT_LOAD_FINISHED) {
      self->loading_ = false;
      bool failed = self->failed_;
      self->failed_ = false;
      if (failed) return;
      // WebKit tells the title after the finish: the finish is reported once
      // the page has answered "document.title", so that it comes with it.
      auto* pending = new PendingFinish{self, self->loadSerial_};
      webkit_web_view_evaluate_javascript(web, "document.title", -1, nullptr, nullptr, self->cancellable_,
                                          titleRead, pending);
    }
  }

  struct PendingFinish {
    GtkWebView* self;
    unsigned serial;
  };

  static void titleRead(GObject* source, GAsyncResult* result, gpointer data) {
    std::unique_ptr<PendingFinish> pending(static_cast<PendingFinish*>(data));
    GError* error = nullptr;
    JSCValue* value = webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), result, &error);
    bool cancelled = error && g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
    if (error) g_error_free(error);
    if (cancelled) {
      if (value) g_object_unref(value);
      return;  // the view is gone
    }
    GtkWebView* self = pending->self;
    if (value) {
      if (jsc_value_is_string(value)) {
        char* text = jsc_value_to_string(value);
        self->title_ = text ? text : "";
        g_free(text);
      }
      g_object_unref(value);
    }
    // A load that started since then reports for itself.
    if (pending->serial == self->loadSerial_ && !self->loading_) self->tellDidFinish();
  }

  static gboolean loadFailed(::WebKitWebView*, WebKitLoadEvent, gchar*, GError* error, gpointer data) {
    auto* self = static_cast<GtkWebView*>(data);
    self->loading_ = false;
    self->failed_ = true;
    self->tellDidFail(platformError(error));
    // The delegate shows the failure; WebKit's own error page would replace
    // the page and its title with a second load.
    return TRUE;
  }

  static void titleChanged(GObject*, GParamSpec*, gpointer data) {
    auto* self = static_cast<GtkWebView*>(data);
    const char* title = webkit_web_view_get_title(self->web_);
    std::string now = title ? title : "";
    if (now == self->title_) return;
    self->title_ = now;
    if (!self->loading_) self->tellTitleChanged();
    self->setNeedsDisplay();
  }

  static gboolean damaged(GtkWidget*, GdkEventExpose*, gpointer data) {
    static_cast<GtkWebView*>(data)->setNeedsDisplay();
    return FALSE;
  }

  // Windows a script opens on its own are not made; links with a target
  // arrive as new-window decisions above.
  static GtkWidget* create(::WebKitWebView*, WebKitNavigationAction*, gpointer) { return nullptr; }

  // No dialogs of the engine's own (a print or file chooser has no window here).
  static gboolean refuse(gpointer, gpointer, gpointer) { return TRUE; }
};

GtkWebView::GtkWebView(cg::Rect frame, WebKitEngine& engine) : WebView(frame), engine_(engine) {
  engine_.viewCreated();
  cancellable_ = g_cancellable_new();
  setUserInteractionEnabled(true);
  setBackgroundColor(cg::Color::white());
  web_ = WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", engine.context(), nullptr));
  WebKitSettings* settings = webkit_web_view_get_settings(web_);
  webkit_settings_set_enable_developer_extras(settings, FALSE);
  webkit_settings_set_javascript_can_open_windows_automatically(settings, FALSE);
  webkit_settings_set_enable_back_forward_navigation_gestures(settings, FALSE);
  window_ = gtk_offscreen_window_new();
  gtk_container_add(GTK_CONTAINER(window_), GTK_WIDGET(web_));
  g_signal_connect(web_, "decide-policy", G_CALLBACK(Signals::decidePolicy), this);
  g_signal_connect(web_, "load-changed", G_CALLBACK(Signals::loadChanged), this);
  g_signal_connect(web_, "load-failed", G_CALLBACK(Signals::loadFailed), this);
  g_signal_connect(web_, "notify::title", G_CALLBACK(Signals::titleChanged), this);
  g_signal_connect(web_, "create", G_CALLBACK(Signals::create), this);
  g_signal_connect(web_, "print", G_CALLBACK(Signals::refuse), this);
  g_signal_connect(web_, "run-file-chooser", G_CALLBACK(Signals::refuse), this);
  g_signal_connect(window_, "damage-event", G_CALLBACK(Signals::damaged), this);
  resizePage();
  gtk_widget_show_all(window_);
  changed();
}

GtkWebView::~GtkWebView() {
  g_cancellable_cancel(cancellable_);
  g_object_unref(cancellable_);
  g_signal_handlers_disconnect_by_data(web_, this);
  g_signal_handlers_disconnect_by_data(window_, this);
  webkit_web_view_stop_loading(web_);
  // Destroying the window destroys the page in it.
  gtk_widget_destroy(window_);
  engine_.viewDestroyed();
  changed();
}

void GtkWebView::changed() { engine_.kick(); }

void GtkWebView::resizePage() {
  int w = pixels(bounds().width()), h = pixels(bounds().height());
  gtk_widget_set_size_request(GTK_WIDGET(web_), w, h);
  gtk_window_resize(GTK_WINDOW(window_), w, h);
}

void GtkWebView::setFrame(cg::Rect frame) {
  cg::Size before = bounds().size;
  WebView::setFrame(frame);
  if (window_ && !(bounds().size == before)) {
    resizePage();
    changed();
  }
}

void GtkWebView::loadRequest(const std::string& url) {
  webkit_web_view_load_uri(web_, url.c_str());
  changed();
}

void GtkWebView::loadHTMLString(const std::string& html, const std::string& baseURL) {
  webkit_web_view_load_html(web_, html.c_str(), baseURL.empty() ? nullptr : baseURL.c_str());
  changed();
}

void GtkWebView::goBack() {
  webkit_web_view_go_back(web_);
  changed();
}

void GtkWebView::goForward() {
  webkit_web_view_go_forward(web_);
  changed();
}

void GtkWebView::reload() {
  webkit_web_view_reload(web_);
  changed();
}

void GtkWebView::stopLoading() {
  webkit_web_view_stop_loading(web_);
  changed();
}

bool GtkWebView::canGoBack() const { return webkit_web_view_can_go_back(web_); }

bool GtkWebView::canGoForward() const { return webkit_web_view_can_go_forward(web_); }

std::string GtkWebView::currentURL() const {
  const char* uri = webkit_web_view_get_uri(web_);
  return uri ? uri : "";
}

std::string GtkWebView::title() const { return title_; }

void GtkWebView::runScript(const std::string& script) {
  webkit_web_view_evaluate_javascript(web_, script.c_str(), -1, nullptr, nullptr, nullptr, nullptr, nullptr);
  changed();
}

void GtkWebView::setScalesPageToFit(bool on) {
  WebView::setScalesPageToFit(on);
  // Pages are laid out at the view's width; the zoom stays at one.
  webkit_web_view_set_zoom_level(web_, 1.0);
}

void GtkWebView::drawRect(cg::Context& context, cg::Rect) {
  cairo_t* cr = context.cairo();
  cairo_save(cr);
  cairo_rectangle(cr, 0, 0, bounds().width(), bounds().height());
  cairo_clip(cr);

  gtk_widget_draw(GTK_WIDGET(web_), cr);
  cairo_restore(cr);
}

void GtkWebView::sendButton(bool press, cg::Point at) {
  GdkWindow* target = gtk_widget_get_window(GTK_WIDGET(web_));
  if (!target) return;
  GdkEvent* event = gdk_event_new(press ? GDK_BUTTON_PRESS : GDK_BUTTON_RELEASE);
  event->button.window = GDK_WINDOW(g_object_ref(target));
  event->button.send_event = TRUE;
  event->button.time = GDK_CURRENT_TIME;
  event->button.x = event->button.x_root = at.x;
  event->button.y = event->button.y_root = at.y;
  event->button.button = GDK_BUTTON_PRIMARY;
  event->button.state = press ? 0 : GDK_BUTTON1_MASK;
  gdk_event_set_device(event, pointer());
  gtk_widget_event(GTK_WIDGET(web_), event);
  gdk_event_free(event);
  changed();
}

void GtkWebView::sendMotion(cg::Point at) {
  GdkWindow* target = gtk_widget_get_window(GTK_WIDGET(web_));
  if (!target) return;
  GdkEvent* event = gdk_event_new(GDK_MOTION_NOTIFY);
  event->motion.window = GDK_WINDOW(g_object_ref(target));
  event->motion.send_event = TRUE;
  event->motion.time = GDK_CURRENT_TIME;
  event->motion.x = event->motion.x_root = at.x;
  event->motion.y = event->motion.y_root = at.y;
  event->motion.state = buttonDown_ ? GDK_BUTTON1_MASK : 0;
  gdk_event_set_device(event, pointer());
  gtk_widget_event(GTK_WIDGET(web_), event);
  gdk_event_free(event);
  changed();
}

void GtkWebView::sendKey(unsigned keyval, unsigned modifiers) {
  GdkWindow* target = gtk_widget_get_window(GTK_WIDGET(web_));
  if (!target || !keyval) return;
  for (GdkEventType type : {GDK_KEY_PRESS, GDK_KEY_RELEASE}) {
    GdkEvent* event = gdk_event_new(type);
    event->key.window = GDK_WINDOW(g_object_ref(target));
    event->key.send_event = TRUE;
    event->key.time = GDK_CURRENT_TIME;
    event->key.keyval = keyval;
    event->key.state = gdkModifiers(modifiers);
    GdkKeymapKey* keys = nullptr;
    gint count = 0;
    if (gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(gdk_display_get_default()), keyval, &keys,
                                          &count) &&
        count > 0) {
      event->key.hardware_keycode = static_cast<guint16>(keys[0].keycode);
      event->key.group = static_cast<guint8>(keys[0].group);
    }
    g_free(keys);
    gdk_event_set_device(event, keyboard());
    gtk_widget_event(GTK_WIDGET(web_), event);
    gdk_event_free(event);
  }
  changed();
}

void GtkWebView::sendFocus(bool in) {
  GdkWindow* target = gtk_widget_get_window(GTK_WIDGET(web_));
  if (!target) return;
  if (in) gtk_widget_grab_focus(GTK_WIDGET(web_));
  GdkEvent* event = gdk_event_new(GDK_FOCUS_CHANGE);
  event->focus_change.window = GDK_WINDOW(g_object_ref(target));
  event->focus_change.send_event = TRUE;
  event->focus_change.in = in;
  gdk_event_set_device(event, keyboard());
  gtk_widget_send_focus_change(GTK_WIDGET(web_), event);
  gdk_event_free(event);
  changed();
}

void GtkWebView::touchesBegan(const TouchSet& touches, const Event&) {
  if (touches.empty()) return;
  if (!isFirstResponder()) becomeFirstResponder();
  cg::Point at = touches.front()->locationInView(this);
  sendMotion(at);
  buttonDown_ = true;
  sendButton(true, at);
}

void GtkWebView::touchesMoved(const TouchSet& touches, const Event&) {
  if (!touches.empty()) sendMotion(touches.front()->locationInView(this));
}

void GtkWebView::touchesEnded(const TouchSet& touches, const Event&) {
  if (touches.empty() || !buttonDown_) return;
  buttonDown_ = false;
  sendButton(false, touches.front()->locationInView(this));
}

void GtkWebView::touchesCancelled(const TouchSet& touches, const Event& event) {
  touchesEnded(touches, event);
}

bool GtkWebView::scrollWheel(const ScrollWheelEvent& wheel) {
  GdkWindow* target = gtk_widget_get_window(GTK_WIDGET(web_));
  if (!target) return false;
  cg::Point at = convertPointFromView(wheel.location, nullptr);
  GdkEvent* event = gdk_event_new(GDK_SCROLL);
  event->scroll.window = GDK_WINDOW(g_object_ref(target));
  event->scroll.send_event = TRUE;
  event->scroll.time = GDK_CURRENT_TIME;
  event->scroll.x = event->scroll.x_root = at.x;
  event->scroll.y = event->scroll.y_root = at.y;
  event->scroll.direction = GDK_SCROLL_SMOOTH;
  event->scroll.delta_x = wheel.deltaX;
  event->scroll.delta_y = wheel.deltaY;
  gdk_event_set_device(event, pointer());
  gtk_widget_event(GTK_WIDGET(web_), event);
  gdk_event_free(event);
  changed();
  return true;
}

void GtkWebView::keyDown(const KeyEvent& key) {
  // Plain printable keys arrive again as typed text; only that is sent.
  bool command = (key.modifiers & (KeyModifierControl | KeyModifierAlt | KeyModifierMeta)) != 0;
  if (!command && (ns::utf8ToUtf32(key.key).size() == 1 || key.key == "Space")) return;
  sendKey(keyvalFor(key.key), key.modifiers);
}

void GtkWebView::insertText(const std::string& text) {
  for (char32_t c : ns::utf8ToUtf32(text)) sendKey(gdk_unicode_to_keyval(c), 0);
}

void GtkWebView::didBecomeFirstResponder() { sendFocus(true); }

void GtkWebView::didResignFirstResponder() { sendFocus(false); }

}  // namespace ui
