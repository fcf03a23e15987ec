-- The sample application's steps as a host script: every member of the
-- interpreter, as the operator's workspace and the maintenance engineer use
-- them. sample_steps.vbs does the same in VBScript, line for line.
--
--   FIX.exe --batch --select '*' --lang-number 3 --answers ok,ok,ok,ok,ok,ok,yes,yes,ok,ok,ok,ok \
--     --pictures PICTURES run sample_steps.lua SETTINGS LOGIN ALARMS OUT
--
-- SETTINGS and LOGIN are form files (written back translated), ALARMS an
-- alarm list (CSV), OUT the file its translation is written to.

local settings_file, login_file, alarms_file, out_file = arg[1], arg[2], arg[3], arg[4]
local veltrano = CreateObject("Veltrano.VeltranoModule")
local workspace = GetObject("", "Workspace.Application")
local folder = workspace.System:FixPath(1)

local function step(title) print("== " .. title) end

local function show(objects, indent)
  for object in Each(objects) do
    local text = object.Caption
    if text == "" then text = object.Description end
    if text ~= "" then print(indent .. object.Name .. ": " .. text) end
    if TypeName(object) == "Fix2DGroup" then show(object.ContainedObjects, indent .. "  ") end
  end
end

local function show_form(form)
  print("Form " .. form.Name .. ": " .. form.Caption)
  for control in Each(form.Controls) do
    if control.Caption ~= "" then print("  " .. control.Name .. ": " .. control.Caption) end
  end
end

step("Users and their languages")
for _, user in ipairs({"OPERATOR", "MANUTENTORE", "ENGINEER", "VISITOR"}) do
  veltrano:SetUserGlobalLang(user)
  print(user .. " -> GlobalLangNum " .. veltrano.GlobalLangNum)
end
veltrano.GlobalLangNum = 1
print("GlobalLangNum set to " .. veltrano.GlobalLangNum)

step("Single strings, outer blanks kept")
for _, lang in ipairs({2, 3}) do
  print("Language_" .. lang .. ": [" .. veltrano:TranslateString("  Boiler overview ", Nothing, lang) .. "]")
end
print("Language_3, no translation yet: [" .. veltrano:TranslateString("Password", Nothing, 3) .. "]")
print("Not in the dictionary (appended): [" .. veltrano:TranslateString("Steam drum", Nothing, 2) .. "]")

step("Alarm list translated into Language_2 (column 2)")
local list = LoadAlarms(alarms_file)
local alarms = veltrano:TranslateAlarmsRecordset(list, 2, Nothing, 2)
SaveAlarms(alarms, out_file)
print("written")
print("First alarm of the list handed over: " .. list.Fields(2).Value)

step("The picture Main in Language_2, saved")
local _, name = ByRef(veltrano, "TranslatePicture", "Main.grf", 2)
print("TranslatePicture left the name " .. name)
local picture = workspace.Documents:Open(folder .. "/" .. name .. ".grf", 2)
print("Picture " .. picture.Name .. ", language marker " .. picture.Comments)
show(picture.Page.ContainedObjects, "  ")
picture:Close(1) -- 1: saved

step("The form frmSettings in Language_2")
local settings = LoadForm(settings_file)
veltrano:TranslateForm(settings, 2)
show_form(settings)

step("Everything open at once back into GlobalLangNum")
local login = LoadForm(login_file)
workspace.Documents:Open(folder .. "/Prefixed.grf", 2)
veltrano.GetObjectsPrefix = true
print("GetObjectsPrefix " .. (veltrano.GetObjectsPrefix and "on" or "off"))
veltrano:TranslateAll(UserForms)
veltrano.GetObjectsPrefix = false
print("GetObjectsPrefix " .. (veltrano.GetObjectsPrefix and "on" or "off"))
for document in Each(workspace.Documents) do
  print("Picture " .. document.Name)
  show(document.Page.ContainedObjects, "  ")
end
show_form(settings)
show_form(login)
SaveForm(settings)
SaveForm(login)
for document in Each(workspace.Documents) do document:Close(1) end

step("Update and verify the dictionary (batch dialog)")
veltrano:UpdateAndVerifyDictionary()

step("Change the development language (batch dialog)")
veltrano:ChangeDevLang()

step("The configuration in the editor")
veltrano:ShowStartupConfig()

print("Answer " .. MsgBox("The sample steps are done.", 64, "Sample"))
