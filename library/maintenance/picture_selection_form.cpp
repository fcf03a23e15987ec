#include "library/maintenance/picture_selection_form.h"

#include <exception>
#include <map>
#include <utility>
#include <vector>

#include "library/interpreter/mod_err_handler.h"
#include "library/interpreter/session.h"
#include "platform/automation/text.h"
#include "platform/automation/variant.h"
#include "platform/base/ascii.h"
#include "platform/system/env.h"
#include "platform/ui/msgbox.h"

namespace vt::maintenance {
namespace {

constexpr std::int16_t kBackspace = 8;
constexpr std::int16_t kFormFeed = 12;

// A list entry: the file name without its last four characters.
std::string EntryText(const std::string& file) {
  return std::string(automation::text::Left(file, automation::text::Len(file) - 4));
}

// Whether the host opens `file` rather than `other` for their entry, the two
// names differing only in letter case: the one whose extension is ".grf" as
// the run adds it, else the first in name order.
bool Opens(const std::string& file, const std::string& other) {
  const bool file_exact = file.ends_with(".grf");
  if (file_exact != other.ends_with(".grf")) return file_exact;
  return file < other;
}

}  // namespace

PictureSelectionForm::PictureSelectionForm(PictureSelectionKind kind, interpreter::Session& session,
                                           interpreter::Messages& messages,
                                           const interpreter::ErrorReporter& errors)
    : kind_(kind), session_(session), messages_(messages), errors_(errors) {}

template <typename Body>
void PictureSelectionForm::Event(const char* procedure, Body&& body) noexcept {
  try {
    body();
  } catch (const std::exception& e) {
    errors_.HandleError(Name(), procedure, e.what(), "");
  } catch (...) {
    errors_.HandleError(Name(), procedure, "unknown failure", "");
  }
}

const char* PictureSelectionForm::Name() const {
  return kind_ == PictureSelectionKind::UpdateDictionary ? "frmUpdateDictionary"
                                                         : "frmChangeDevLang";
}

const char* PictureSelectionForm::Caption() const {
  return kind_ == PictureSelectionKind::UpdateDictionary
             ? " Veltrano - Update and verify dictionary (only pictures)"
             : " Veltrano - Change development language (only pictures)";
}

const char* PictureSelectionForm::lblString(int index) const {
  if (kind_ == PictureSelectionKind::UpdateDictionary) {
    return index == 0 ? "Select the pictures you wish, to UPDATE strings list in the development "
                        "language :"
                      : "Insert the language number you wish, to VERIFY translations";
  }
  return index == 0 ? "Select ALL the pictures of the iFix application :"
                    : "Insert the number of the new desired development language";
}

void PictureSelectionForm::Form_Load() {
  Event("Form_Load", [this] {
    const interpreter::Configuration& configuration = session_.configuration;
    // Names that differ only in letter case are one picture on the real
    // platform, and the host opens one file for them: the entry is that
    // file's, and the others are told by name, since no run will reach them.
    std::vector<std::string> listed_files;  // the file of each entry
    std::map<std::string, std::size_t> entries;
    std::vector<std::pair<std::string, std::size_t>> shadowed;  // file, entry
    for (std::string& file : system::CurrentEnv().ListFiles(configuration.strFixPath, "*.grf")) {
      const auto [at, added] = entries.try_emplace(base::ToAsciiLower(file), listed_files.size());
      if (added) {
        lstPicList.push_back({EntryText(file), false});
        listed_files.push_back(std::move(file));
        continue;
      }
      std::string& listed = listed_files[at->second];
      if (Opens(file, listed)) {
        lstPicList[at->second].text = EntryText(file);
        std::swap(file, listed);
      }
      shadowed.emplace_back(std::move(file), at->second);
    }
    if (!shadowed.empty()) {
      std::vector<std::pair<std::string, std::string>> told;
      for (const auto& [file, entry] : shadowed) told.emplace_back(file, listed_files[entry]);
      messages_.PicturesShadowed(told);
    }
    txtLangNum = std::to_string(configuration.intStartLangNum);
  });
}

void PictureSelectionForm::txtLangNum_KeyPress(std::int16_t& KeyAscii) {
  Event("txtLangNum_KeyPress", [this, &KeyAscii] {
    if (KeyAscii == kBackspace || KeyAscii == kFormFeed) return;
    if (KeyAscii >= '0' && KeyAscii <= '9') return;
    messages_.NotANumber();
    KeyAscii = 0;
  });
}

void PictureSelectionForm::CheckEvery(bool selected) {
  for (ListEntry& entry : lstPicList) entry.selected = selected;
  if (!lstPicList.empty()) lstPicListIndex = 0;
}

void PictureSelectionForm::cmdCheckAll_Click() {
  Event("cmdCheckAll_Click", [this] { CheckEvery(true); });
}

void PictureSelectionForm::cmdUncheckAll_Click() {
  Event("cmdUncheckAll_Click", [this] { CheckEvery(false); });
}

void PictureSelectionForm::cmdCancel_Click() {
  Event("cmdCancel_Click", [this] {
    session_.run.blnMaintenanceRunning = false;
    closed = true;
  });
}

void PictureSelectionForm::cmdUpdateDictionary_Click() {
  Event("cmdUpdateDictionary_Click", [this] {
    if (lstPicList.empty()) return;
    bool any_selected = false;
    for (const ListEntry& entry : lstPicList) any_selected = any_selected || entry.selected;
    if (!any_selected) {
      messages_.NoPictureSelected();
      focus_request = Control::lstPicList;
      return;
    }
    if (automation::Variant("0" + txtLangNum).ToInteger() == 0) {
      messages_.NoLanguageNumber();
      focus_request = Control::txtLangNum;
      return;
    }
    if (kind_ == PictureSelectionKind::ChangeDevLang) {
      ui::Beep();
      if (!messages_.ConfirmAllPicturesSelected()) return;
    }
    std::vector<std::string>& strSelectedPictures = session_.run.strSelectedPictures;
    strSelectedPictures.clear();
    for (const ListEntry& entry : lstPicList) {
      if (entry.selected) strSelectedPictures.push_back(entry.text);
    }
    session_.configuration.intStartLangNum = automation::Variant(txtLangNum).ToInteger();
    closed = true;
  });
}

}  // namespace vt::maintenance
