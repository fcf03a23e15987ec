#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/collection.h"
#include "platform/automation/dispatch.h"

namespace vt::host::scripting {

// What a VBScript run by the host reaches as global names, beside the
// language's own: the script's code runs in the context of this object, so
// its members come before VBScript's built-in functions of the same name.
//
//   GetObject([path], [class])     an object of the class through COM for
//                                  GetObject("", "Workspace.Application"),
//                                  the running one when the path is omitted
//   MsgBox(prompt, [buttons], [title])  through the host's message boxes
//                                  (batch answers and the transcript apply)
//   TypeName(value)                the host language's type name, objects
//                                  included
//   DoEvents
//   LoadForm(file), SaveForm(form) a form file (.frm.json); loaded forms are
//                                  in UserForms, as in the host
//   LoadAlarms(csv), SaveAlarms(recordset, csv)
//                                  an alarm list as a recordset
//   Print text                     one line on the standard output
//   Arguments(i), Arguments.Count  the script's arguments, from 0
//
// CreateObject is VBScript's own: it creates through COM by ProgID.
class HostGlobals : public automation::DispatchObject {
 public:
  HostGlobals(std::ostream& out, std::vector<std::string> arguments);
  std::string TypeName() const override { return "Host"; }

  // Whether `name` is one of the members above (any letter case): the script
  // engine asks for every name it resolves, and the others must stay the
  // language's or the script's own.
  bool Knows(std::string_view name) const { return HasMember(name); }

 private:
  std::ostream& out_;
  automation::ObjectRef arguments_;
  std::shared_ptr<ObjectCollection> user_forms_;
};

}  // namespace vt::host::scripting
