#pragma once
// The application delegate: the launch and lifecycle, and the class-level
// services every part of the application reaches (cached settings and checks).

class ZarvelSDKAppDelegate {
 public:
  virtual ~ZarvelSDKAppDelegate() = default;

  // The class initialiser: registers the default settings and synchronises the
  // store, once per process, before the delegate is first used.
  static void initialize();

  // Whether the preferred interface language is Arabic; computed once and
  // cached until ResetArabicCheck.
  static bool IsLanguageArabic();
  static void ResetArabicCheck();

  // The Arabic and translation font size indexes (0-4), cached until reset.
  static int ArabicFontSize();
  static void ResetArabicFontSize();
  static int TranslationFontSize();
  static void ResetTranslationFontSize();

  // Forgets every cached answer and lets initialize() run again (tests).
  static void ResetClassStateForTesting();
};
