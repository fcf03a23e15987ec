' Creates the interpreter object from a script host that is not FIX.exe and
' calls it by name: the host check refuses all work, the calls still answer.
Option Explicit
Dim objModule, strText, strPicture
Set objModule = CreateObject("Veltrano.VeltranoModule")
WScript.Echo "GlobalLangNum=" & objModule.GlobalLangNum
objModule.GlobalLangNum = 3
WScript.Echo "GlobalLangNum=" & objModule.GlobalLangNum
objModule.GetObjectsPrefix = True
WScript.Echo "GetObjectsPrefix=" & objModule.GetObjectsPrefix
strText = "  Start  "
WScript.Echo "TranslateString=[" & objModule.TranslateString(strText) & "]"
strPicture = "MAIN.GRF"
objModule.TranslatePicture strPicture
WScript.Echo "TranslatePicture=" & strPicture
On Error Resume Next
objModule.GlobalLangNum = "many"
WScript.Echo "Error=" & Err.Number & " " & Err.Description
Err.Clear
objModule.TranslateEverything
WScript.Echo "Error=" & Err.Number
On Error GoTo 0
Set objModule = Nothing
WScript.Echo "released"
