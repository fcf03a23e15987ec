#pragma once

struct lua_State;

// What the host offers its scripts beyond objects and values:
//
//   CreateObject(progid)          a new object of a registered class
//   GetObject(path, class)        a running object, e.g. GetObject("", "Workspace.Application")
//   MsgBox(text [, style [, title]])   the button pressed (OK 1, Cancel 2, Yes 6, No 7)
//   DoEvents()                    lets pending window messages be processed
//   LoadForm(path)                a form (UserForm) read from its .frm.json file
//   SaveForm(form)                writes a form loaded by LoadForm back to its file
//   UserForms                     the forms LoadForm loaded, in order (from 0)
//   LoadAlarms(csv)               an alarm list (CSV) as a recordset
//   SaveAlarms(recordset, csv)    writes the rows a recordset sees to a CSV file
namespace vt::host::scripting {

void OpenHostFunctions(lua_State* L);

}  // namespace vt::host::scripting
