' create_module.lua in VBScript, for the Windows FIX.exe.
'
'   FIX.exe --pictures PICTURES run create_module.vbs [TEXT]
Option Explicit
Dim objVeltrano
If Arguments.Count = 0 Then
  Print "idle"
Else
  Set objVeltrano = CreateObject("Veltrano.VeltranoModule")
  Print objVeltrano.TranslateString(Arguments(0), Nothing, 2, False)
End If
