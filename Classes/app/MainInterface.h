#pragma once
// What the main interface makes at start: one application delegate with its
// window and the tablet root connected.
#include <memory>

#include "Classes/core/ZarvelSDKAppDelegate.h"

std::shared_ptr<ZarvelSDKAppDelegate> loadMainInterface();
