' Run by cscript while FIX.exe serves its workspace: the interpreter created
' here, in another process, passes the host check, reaches the pictures
' folder through the workspace that COM hands out, and translates a picture
' that FIX.exe holds open.
Option Explicit
Dim objModule, strText, strPicture, objWorkspace
Set objModule = CreateObject("Veltrano.VeltranoModule")
Set objWorkspace = CreateObject("Workspace.Application")
WScript.Echo "FixPath=" & objWorkspace.System.FixPath(1)
strText = "  Start  "
WScript.Echo "TranslateString=[" & objModule.TranslateString(strText, Nothing, 2) & "]"
strPicture = "MAIN.GRF"
objModule.TranslatePicture strPicture, 2
WScript.Echo "TranslatePicture=" & strPicture
WScript.Echo "Documents=" & objWorkspace.Documents.Count
Set objWorkspace = Nothing
Set objModule = Nothing
WScript.Echo "released"
