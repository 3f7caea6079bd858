#pragma once
// Helpers for pixel tests on tiny bitmaps.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "platform/graphics/Context.h"
#include "platform/graphics/Image.h"

namespace cgtest {

inline cg::RGBA px(cg::Context& ctx, int x, int y) { return ctx.makeImage()->pixelAt(x, y); }

inline bool near(cg::RGBA got, cg::RGBA want, int tolerance = 2) {
  return std::abs(got.r - want.r) <= tolerance && std::abs(got.g - want.g) <= tolerance &&
         std::abs(got.b - want.b) <= tolerance && std::abs(got.a - want.a) <= tolerance;
}

inline std::string show(cg::RGBA p) {
  return "(" + std::to_string(p.r) + "," + std::to_string(p.g) + "," + std::to_string(p.b) + "," +
         std::to_string(p.a) + ")";
}

#define EXPECT_PIXEL(got, want) \
  EXPECT_TRUE(cgtest::near((got), (want))) << "got " << cgtest::show(got) << " want " << cgtest::show(want)

constexpr cg::RGBA kRed{255, 0, 0, 255}, kBlue{0, 0, 255, 255}, kGreen{0, 255, 0, 255},
    kWhite{255, 255, 255, 255}, kNone{0, 0, 0, 0};

// A 2x2 image: red top row, blue bottom row.
inline std::shared_ptr<cg::Image> redOverBlue() {
  cg::Context ctx = cg::Context::bitmap(2, 2);
  ctx.setFillColor(cg::Color::red());
  ctx.fillRect(cg::Rect(0, 0, 2, 1));
  ctx.setFillColor(cg::Color::blue());
  ctx.fillRect(cg::Rect(0, 1, 2, 1));
  return ctx.makeImage();
}

inline std::string tempPath(const std::string& name) {
  const char* dir = std::getenv("ZARVEL_TEST_TMP");
  std::string base = dir && *dir ? dir : "/tmp";
  std::string cmd = "mkdir -p '" + base + "'";
  (void)std::system(cmd.c_str());
  return base + "/" + name;
}

}  // namespace cgtest
