// Translation of one control of a UserForm, chosen by its type, and of the
// pages of a MultiPage.
#include <array>
#include <exception>
#include <string>
#include <string_view>

#include "library/dictionary/dictionary.h"
#include "library/forms/form_translator.h"
#include "library/interpreter/mod_err_handler.h"

namespace vt::forms {
namespace {

using automation::Variant;

// Types whose only shown text is the tip; their value is the user's data.
constexpr std::array<std::string_view, 6> kTipOnlyTypes = {"TextBox",    "ComboBox",  "ListBox",
                                                           "SpinButton", "ScrollBar", "Image"};
constexpr std::array<std::string_view, 6> kCaptionTypes = {
    "Label", "CheckBox", "OptionButton", "Frame", "CommandButton", "ToggleButton"};

template <std::size_t N>
bool IsOneOf(const std::string& type, const std::array<std::string_view, N>& types) {
  for (std::string_view one : types) {
    if (type == one) return true;
  }
  return false;
}

}  // namespace

void FormTranslator::TranslateFormObject(const automation::ObjectRef& objControl,
                                         std::int16_t intFromLang, std::int16_t intToLang) {
  try {
    if (!texts_.PassesPrefixFilter(objControl)) return;
    const std::string type = automation::TypeNameOf(objControl);
    if (IsOneOf(type, kTipOnlyTypes)) {
      texts_.ReplaceText(objControl, "ControlTipText", intFromLang, intToLang);
    } else if (IsOneOf(type, kCaptionTypes)) {
      texts_.ReplaceText(objControl, "Caption", intFromLang, intToLang);
      texts_.ReplaceText(objControl, "ControlTipText", intFromLang, intToLang);
    } else if (type == "MultiPage") {
      TranslateMultiPage(objControl, intFromLang, intToLang);
    }
  } catch (const std::exception& e) {
    errors_.HandleError("VeltranoModule", "TranslateFormObject", e.what(), "");
  }
}

void FormTranslator::TranslateMultiPage(const automation::ObjectRef& objMultiPage,
                                        std::int16_t intFromLang, std::int16_t intToLang) {
  try {
    const auto page = [&objMultiPage](std::int16_t index) {
      const automation::ObjectRef pages = automation::Get(objMultiPage, "Pages").ToObject();
      return automation::Get(pages, "Item", {Variant(index)}).ToObject();
    };
    const automation::ObjectRef pages = automation::Get(objMultiPage, "Pages").ToObject();
    const auto last = static_cast<std::int16_t>(automation::Get(pages, "Count").ToInteger() - 1);
    for (std::int16_t i = 0; i <= last; ++i) {
      // The page is fetched anew for every read and every write.
      for (std::string_view property : {"Caption", "ControlTipText"}) {
        const std::string strText = automation::Get(page(i), property).ToString();
        automation::Put(
            page(i), property,
            Variant(translator_.TranslateObjectString(strText, intFromLang, intToLang)));
      }
    }
  } catch (const std::exception& e) {
    errors_.HandleError("VeltranoModule", "TranslateMultiPage", e.what(), "");
  }
}

}  // namespace vt::forms
