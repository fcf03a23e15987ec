#include "host/scripting/lua_host.h"

#include <limits>
#include <lua.hpp>
#include <memory>
#include <string>

#include "host/collection.h"
#include "host/forms/user_form.h"
#include "host/scripting/lua_objects.h"
#include "platform/automation/error.h"
#include "platform/automation/runtime.h"
#include "platform/data/csv.h"
#include "platform/ui/msgbox.h"

namespace vt::host::scripting {
namespace {

using automation::Variant;

std::string CheckText(lua_State* L, int index) {
  std::size_t size = 0;
  const char* text = luaL_checklstring(L, index, &size);
  return std::string(text, size);
}

std::string OptionalText(lua_State* L, int index) {
  return lua_isnoneornil(L, index) ? std::string() : CheckText(L, index);
}

int CreateObject(lua_State* L) {
  return Protected(L, [L] {
    PushVariant(L, Variant(automation::CreateObject(CheckText(L, 1))));
    return 1;
  });
}

int GetObject(lua_State* L) {
  return Protected(L, [L] {
    PushVariant(L, Variant(automation::GetObject(OptionalText(L, 1), OptionalText(L, 2))));
    return 1;
  });
}

int MsgBox(lua_State* L) {
  return Protected(L, [L] {
    luaL_checkany(L, 1);
    const std::string text = ToVariant(L, 1).ToString();
    const lua_Integer style = luaL_optinteger(L, 2, 0);
    if (style < 0 || style > std::numeric_limits<int>::max()) {
      throw automation::errors::InvalidCall("MsgBox style " + std::to_string(style));
    }
    const std::string title = OptionalText(L, 3);
    lua_pushinteger(L, ui::MsgBox(text, static_cast<int>(style), title));
    return 1;
  });
}

int DoEvents(lua_State*) {
  ui::DoEvents();
  return 0;
}

// Loaded forms are in the global UserForms, as in the host.
int LoadForm(lua_State* L) {
  return Protected(L, [L] {
    auto form = forms::UserForm::Load(CheckText(L, 1));
    lua_getglobal(L, "UserForms");
    const Variant loaded = ToVariant(L, -1);
    lua_pop(L, 1);
    if (auto user_forms = std::dynamic_pointer_cast<ObjectCollection>(
            loaded.IsObject() ? loaded.ToObject() : automation::ObjectRef())) {
      user_forms->Add(form);
    }
    PushVariant(L, Variant(automation::ObjectRef(form)));
    return 1;
  });
}

int SaveForm(lua_State* L) {
  return Protected(L, [L] {
    luaL_checkany(L, 1);
    const Variant value = ToVariant(L, 1);
    auto form = std::dynamic_pointer_cast<forms::UserForm>(
        value.IsObject() ? value.ToObject() : automation::ObjectRef());
    if (!form) {
      throw automation::errors::InvalidCall("SaveForm takes a form from LoadForm, not " +
                                            automation::TypeNameOf(value));
    }
    form->Save();
    return 0;
  });
}

int LoadAlarms(lua_State* L) {
  return Protected(L, [L] {
    PushVariant(L, Variant(automation::ObjectRef(data::LoadCsv(CheckText(L, 1)))));
    return 1;
  });
}

int SaveAlarms(lua_State* L) {
  return Protected(L, [L] {
    luaL_checkany(L, 1);
    const Variant value = ToVariant(L, 1);
    auto recordset = std::dynamic_pointer_cast<data::Recordset>(
        value.IsObject() ? value.ToObject() : automation::ObjectRef());
    if (!recordset) {
      throw automation::errors::InvalidCall("SaveAlarms takes a recordset, not " +
                                            automation::TypeNameOf(value));
    }
    data::SaveCsv(*recordset, CheckText(L, 2));
    return 0;
  });
}

}  // namespace

void OpenHostFunctions(lua_State* L) {
  static const luaL_Reg kFunctions[] = {
      {"CreateObject", CreateObject}, {"GetObject", GetObject},   {"MsgBox", MsgBox},
      {"DoEvents", DoEvents},         {"LoadForm", LoadForm},     {"SaveForm", SaveForm},
      {"LoadAlarms", LoadAlarms},     {"SaveAlarms", SaveAlarms}, {nullptr, nullptr},
  };
  lua_pushglobaltable(L);
  luaL_setfuncs(L, kFunctions, 0);
  lua_pop(L, 1);
  PushVariant(L,
              Variant(automation::ObjectRef(std::make_shared<ObjectCollection>("UserForms", 0))));
  lua_setglobal(L, "UserForms");
}

}  // namespace vt::host::scripting
