#include "library/maintenance/batch_views.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "library/maintenance/picture_selection_form.h"
#include "library/maintenance/splash_form.h"
#include "platform/automation/text.h"
#include "platform/ui/configure.h"
#include "platform/ui/msgbox.h"

namespace vt::maintenance {
namespace {

bool SameName(std::string_view entry, std::string_view wanted) {
  return automation::text::UCase(entry) == automation::text::UCase(wanted);
}

// The entry named `wanted` (".grf" may follow), checked as a person would.
void Check(PictureSelectionForm& form, std::string_view wanted) {
  std::string_view bare = wanted;
  if (automation::text::UCase(automation::text::Right(bare, 4)) == ".GRF") {
    bare.remove_suffix(4);
  }
  bool found = false;
  for (PictureSelectionForm::ListEntry& entry : form.lstPicList) {
    if (SameName(entry.text, bare)) {
      entry.selected = true;
      found = true;
    }
  }
  if (!found) {
    ui::Notice(std::string(form.Name()) + ": no picture \"" + std::string(wanted) +
               "\" in the list; it stays unchecked");
  }
}

// Length of the UTF-8 sequence that `lead` starts (1 for a stray byte).
std::size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

// One typed character as the text box takes it: KeyPress first; then a
// backspace erases the last character, a printable one is added while the
// box has room (its maximum length), and a control character adds nothing.
void Type(PictureSelectionForm& form, std::string_view character) {
  const auto lead = static_cast<unsigned char>(character.front());
  // Characters beyond ASCII reach KeyPress as a code that is no digit.
  std::int16_t KeyAscii = lead < 0x80 ? static_cast<std::int16_t>(lead) : std::int16_t{'?'};
  form.txtLangNum_KeyPress(KeyAscii);
  if (KeyAscii == 0) return;
  if (KeyAscii == 8) {
    std::string& text = form.txtLangNum;
    const std::size_t characters = automation::text::Len(text);
    if (characters > 0) text.resize(automation::text::Left(text, characters - 1).size());
    return;
  }
  if (KeyAscii < 32) return;
  if (automation::text::Len(form.txtLangNum) < PictureSelectionForm::kLangNumMaxLength) {
    form.txtLangNum += character;
  }
}

}  // namespace

void RunBatchView(PictureSelectionForm& form, const ui::BatchInputs& inputs) {
  form.Form_Load();
  if (inputs.select_all) {
    for (PictureSelectionForm::ListEntry& entry : form.lstPicList) entry.selected = true;
  } else {
    for (const std::string& name : inputs.select) Check(form, name);
  }
  if (inputs.lang_number) {
    // Typed over the proposed number, which the person selects first.
    form.txtLangNum.clear();
    const std::string& typed = *inputs.lang_number;
    for (std::size_t at = 0; at < typed.size();) {
      const std::size_t length =
          std::min(SequenceLength(static_cast<unsigned char>(typed[at])), typed.size() - at);
      Type(form, std::string_view(typed).substr(at, length));
      at += length;
    }
  }
  form.cmdUpdateDictionary_Click();
  if (!form.closed) form.cmdCancel_Click();
}

void RunBatchView(SplashForm& form) {
  form.Form_Load();
  form.cmdOk_Click();
}

}  // namespace vt::maintenance
