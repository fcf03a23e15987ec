#pragma once

#include "library/interpreter/level.h"

#if VELTRANO_LEVEL != VELTRANO_LEVEL_MAINTENANCE && VELTRANO_LEVEL != VELTRANO_LEVEL_OUTSIDE
#error "library/maintenance/picture_selection_form.h is private to its component"
#endif

#include <cstdint>
#include <string>
#include <vector>

#include "library/interpreter/messages.h"

namespace vt::interpreter {
struct Session;
class ErrorReporter;
}  // namespace vt::interpreter

namespace vt::maintenance {

// The two picture-selection dialogs: the same controls and behaviour, their
// texts and the confirmation of Ok apart: frmUpdateDictionary for
// UpdateDictionary, frmChangeDevLang for ChangeDevLang.
using PictureSelectionKind = interpreter::MaintenanceKind;

// The form model of frmUpdateDictionary and frmChangeDevLang: what the
// controls hold and the event procedures, plain C++. A view shows the state
// and turns a person's clicks and keys (or the batch inputs) into the event
// procedures' calls. The dialog reports back only through the session's
// blnMaintenanceRunning, strSelectedPictures and intStartLangNum.
class PictureSelectionForm {
 public:
  PictureSelectionForm(PictureSelectionKind kind, interpreter::Session& session,
                       interpreter::Messages& messages, const interpreter::ErrorReporter& errors);

  PictureSelectionKind kind() const { return kind_; }
  // The form's name, which is also the module name of its error reports.
  const char* Name() const;
  const char* Caption() const;
  // lblString(0) and lblString(1).
  const char* lblString(int index) const;

  // The controls a view can move focus to on a procedure's request.
  enum class Control { None, lstPicList, txtLangNum };

  struct ListEntry {
    std::string text;
    bool selected = false;  // checked
  };

  // The state of the controls; a view copies a person's changes in before an
  // event procedure runs and shows the state afterwards.
  std::vector<ListEntry> lstPicList;
  int lstPicListIndex = -1;  // the current entry; -1 for none
  std::string txtLangNum;
  static constexpr std::size_t kLangNumMaxLength = 2;
  Control focus_request = Control::None;  // taken and reset by the view
  bool closed = false;

  // The event procedures. Each reports its own failures under the form's
  // name and its own name, and leaves the dialog as it was then.
  void Form_Load();
  // KeyAscii becomes 0 when the character is refused.
  void txtLangNum_KeyPress(std::int16_t& KeyAscii);
  void cmdCheckAll_Click();
  void cmdUncheckAll_Click();
  void cmdCancel_Click();
  void cmdUpdateDictionary_Click();

 private:
  void CheckEvery(bool selected);
  // Runs one event procedure; a failure is reported under the form's name
  // and the procedure's, and the event ends there.
  template <typename Body>
  void Event(const char* procedure, Body&& body) noexcept;

  PictureSelectionKind kind_;
  interpreter::Session& session_;
  interpreter::Messages& messages_;
  const interpreter::ErrorReporter& errors_;
};

}  // namespace vt::maintenance
