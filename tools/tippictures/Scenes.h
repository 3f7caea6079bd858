#pragma once
// The screens the tips speak of, brought up one after another in one run of
// the application, and the part of the window each tip shows.
#include <string>

namespace tippictures {

// The picture of each tip page (5:3, 500 x 300 points), and the second one of
// the cross-fading page, for one interface language, into `dir`; with
// `explore`, each scene's whole window instead. Returns how many were
// written; throws when a scene cannot be brought up or its picture is blank.
int takePictures(const std::string& resources, const std::string& language, const std::string& dir, bool explore);

}  // namespace tippictures
