#pragma once

// A Ready interpreter object made in-process inside the real host workspace:
// pictures and forms are the host's own objects loaded from files in a
// temporary pictures folder, the dictionary is a real workbook there, and
// message boxes go to the batch back end and its transcript.

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "host/forms/user_form.h"
#include "host/pictures/document.h"
#include "host/workspace.h"
#include "library/interpreter/veltrano_module.h"
#include "platform/automation/dispatch.h"
#include "tests/support/library_test.h"

namespace vt::pictures::testing {

using Json = nlohmann::ordered_json;
using vt::testing::HostEnv;
using vt::testing::Message;
// Dictionary rows, the cells of Language_1, Language_2, Language_3.
using vt::testing::Rows;

// Picture objects as the picture files write them.
Json Text(const std::string& name, const std::string& caption);
Json Button(const std::string& name, const std::string& caption, const std::string& description);
Json Alarm(const std::string& name, const std::string& description, bool visible = true);
Json Group(const std::string& name, Json members);
Json Picture(Json objects, Json comments = "");

// Form controls as the form files write them.
Json Control(const std::string& type, const std::string& name, const std::string& caption,
             const std::string& tip);
Json MultiPage(const std::string& name, Json pages);
Json FormPage(const std::string& caption, const std::string& tip);
Json Form(const std::string& name, const std::string& caption, const std::string& tag,
          Json controls);

// The object named `name` among the objects of a page or group, groups
// searched depth first; fails the test when there is none.
automation::ObjectRef FindObject(const automation::ObjectRef& container, const std::string& name);
std::string Property(const automation::ObjectRef& object, const std::string& property);

class PictureTest : public vt::testing::LibraryTest {
 protected:
  PictureTest() : LibraryTest("vt-pictures") {}

  void SetUp() override;
  void TearDown() override;

  // The dictionary file as the messages name it.
  std::string dictionary_text() const { return pictures().string() + "/Veltrano/Veltrano.xls"; }

  // The ready configuration (development and starting language 1, warnings
  // on, OPERATOR in language 3) with some [PARAMETERS] keys changed.
  void WriteIni(const std::map<std::string, std::string>& changes = {}) const;
  void WritePicture(const std::string& file_name, const Json& picture) const;
  std::filesystem::path WriteForm(const std::string& file_name, const Json& form) const;

  // Opens the picture NAME.grf in the workspace (as the operator would).
  std::shared_ptr<host::pictures::Document> Open(const std::string& name);
  // The page of the open picture NAME.
  automation::ObjectRef PageOf(const std::string& name);
  std::string CaptionIn(const std::string& picture, const std::string& object);
  automation::Variant MarkerOf(const std::string& picture);

  // The boxes the batch back end wrote to its transcript since the last call.
  std::vector<Message> TakeMessages() override { return transcript_.Take(); }
  // The dictionary rows below the header, as the workbook reader sees them.
  Rows DictionaryRows() const;
  // The same as python3-xlrd, an independent reader, sees them.
  Rows DictionaryRowsByXlrd() const;

  std::shared_ptr<host::Workspace> workspace_;
  HostEnv env_;

 private:
  vt::testing::TranscriptReader transcript_{dir() / "transcript.jsonl"};
  std::optional<system::ScopedEnvOverride> env_scope_;
  std::optional<host::WorkspaceRegistration> registration_;
};

// Calls with by-reference arguments as the host's scripts pass them.
void TranslatePicture(interpreter::VeltranoModule& module, std::string name,
                      std::int16_t language = 0, std::string user = "");
void TranslateForm(interpreter::VeltranoModule& module, const automation::ObjectRef& form,
                   std::int16_t language = 0, std::string user = "");

// The cannot-find and before-translating warnings as the system words them.
std::string CannotFindText(int from, int to, const std::string& dictionary);
std::string BeforeTranslatingText(const std::string& kind, const std::string& name, int from,
                                  int to, const std::string& dictionary);

}  // namespace vt::pictures::testing
