-- A host script, as the operator's workspace runs one: it creates the
-- interpreter, switches to a user's language, shows the picture Main in it
-- and translates a form.
--
--   FIX.exe --pictures PICTURES run translate_main.lua [USER [FORM]]
--
-- USER defaults to OPERATOR. FORM is a form file (.frm.json); it is written
-- back translated. The picture file is left as it is.

local user = arg[1] or "OPERATOR"
local form_file = arg[2]

local veltrano = CreateObject("Veltrano.VeltranoModule")
veltrano:SetUserGlobalLang(user)
print(user .. " reads Language_" .. veltrano.GlobalLangNum)

-- TranslatePicture takes the picture's name by reference and cuts ".grf"
-- off it; ByRef hands the arguments back as the call left them.
local _, name = ByRef(veltrano, "TranslatePicture", "Main.grf", 0, user)

local workspace = GetObject("", "Workspace.Application")
local folder = workspace.System:FixPath(1)
local picture = workspace.Documents:Open(folder .. "/" .. name .. ".grf", 2)
print("Picture " .. picture.Name .. ", language marker " .. tostring(picture.Comments))

local function show(objects, indent)
  for object in Each(objects) do
    local text = object.Caption
    if text == "" then text = object.Description end
    if text ~= "" then print(indent .. object.Name .. ": " .. text) end
    if TypeName(object) == "Fix2DGroup" then show(object.ContainedObjects, indent .. "  ") end
  end
end
show(picture.Page.ContainedObjects, "  ")
picture:Close(2) -- 2: without saving

if form_file then
  local form = LoadForm(form_file)
  veltrano:TranslateForm(form, 0, user)
  print("Form " .. form.Name .. ": " .. form.Caption)
  for control in Each(form.Controls) do
    if control.Caption ~= "" then print("  " .. control.Name .. ": " .. control.Caption) end
  end
  SaveForm(form)
end

-- A failed call is a Lua error; pcall keeps the script going.
local ok, message = pcall(function() return veltrano.NoSuchProperty end)
if not ok then print("As expected: " .. message) end
