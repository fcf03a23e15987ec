-- Opens and closes (without saving) each picture named by an argument: what
-- a walk over the pictures costs the host alone.
--
--   FIX.exe --pictures PICTURES run open_close.lua NAME...

local workspace = GetObject("", "Workspace.Application")
local folder = workspace.System:FixPath(1)
local count = 0
for i = 1, #arg do
  local picture = workspace.Documents:Open(folder .. "/" .. arg[i] .. ".grf", 2)
  picture:Close(2)
  count = count + 1
end
print(count)
