#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "host/scripting/lua_state.h"
#include "platform/automation/dispatch.h"
#include "platform/automation/error.h"

// A script state with one object of our own, `probe`, whose members record
// what the script passed and hand back what the test set.
namespace vt::host::scripting {

using automation::Variant;

class Probe : public automation::DispatchObject {
 public:
  Probe() {
    AddProperty(
        "Caption", [this](std::span<Variant>) { return Variant(caption); },
        [this](std::span<Variant>, const Variant& value) { caption = value.ToString(); });
    AddProperty("Id", [](std::span<Variant>) { return Variant(std::int16_t{7}); });
    AddMethod("Record", [this](std::span<Variant> args) {
      received.assign(args.begin(), args.end());
      return Variant(static_cast<std::int32_t>(args.size()));
    });
    AddMethod("Answer", [this](std::span<Variant>) { return answer; });
    // Changes its by-reference arguments, as TranslatePicture does.
    AddMethod("Cut", [](std::span<Variant> args) {
      if (args.size() != 2) throw automation::errors::InvalidCall("Cut takes two arguments");
      std::string text = args[0].ToString();
      if (text.size() >= 4) text.resize(text.size() - 4);
      args[0] = Variant(text);
      args[1] = Variant(static_cast<std::int16_t>(args[1].ToInteger() + 1));
      return Variant("cut");
    });
    AddMethod("Fail", [](std::span<Variant>) -> Variant {
      throw automation::Error(automation::errors::kFileNotFound, "File not found: Nope.grf");
    });
  }
  std::string TypeName() const override { return "Probe"; }

  std::string caption = "first";
  std::vector<Variant> received;
  Variant answer;
};

class LuaTest : public ::testing::Test {
 protected:
  void SetUp() override { lua.SetGlobal("probe", Variant(probe)); }
  // A test may hand the probe to itself; what it holds must not keep it alive.
  void TearDown() override {
    probe->received.clear();
    probe->answer = Variant();
  }

  // The error that ended `code`, if any.
  std::optional<std::string> Run(const std::string& code) { return lua.RunText(code, "test"); }

  // Runs `code`, which must not fail; returns what it printed.
  std::string Printed(const std::string& code) {
    out.str("");
    const auto error = Run(code);
    EXPECT_FALSE(error) << *error;
    return out.str();
  }

  // The message of the error that `code` must end with.
  std::string Failure(const std::string& code) {
    const auto error = Run(code);
    EXPECT_TRUE(error) << "no error from: " << code;
    return error.value_or("");
  }

  std::ostringstream out;
  LuaState lua{out};
  std::shared_ptr<Probe> probe = std::make_shared<Probe>();
};

}  // namespace vt::host::scripting
