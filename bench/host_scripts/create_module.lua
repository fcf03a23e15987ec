-- Creates the interpreter and translates the text given towards Language_2.
-- Without an argument it only prints "idle": the same program's start-up
-- alone, which the benchmark takes away from creation's figure.
--
--   FIX.exe --pictures PICTURES run create_module.lua [TEXT]

if #arg == 0 then
  print("idle")
  return
end
local veltrano = CreateObject("Veltrano.VeltranoModule")
print(veltrano:TranslateString(arg[1], Nothing, 2, false))
