-- A host script that meets its texts one call at a time, as a script that
-- builds texts at run time does: TranslateString towards Language_2 for
-- every argument, each result printed on a line of its own.
--
--   FIX.exe --pictures PICTURES run translate_strings.lua TEXT...

local veltrano = CreateObject("Veltrano.VeltranoModule")
for i = 1, #arg do
  print(veltrano:TranslateString(arg[i], Nothing, 2, false))
end
