' Run by cscript while FIX.exe serves its workspace: the interpreter created
' here, in another process, passes the host check, reaches the pictures
' folder through the workspace that COM hands out, and translates a picture
' that FIX.exe holds open and an alarm list that FIX.exe loaded (the
' argument: its file).
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
' One of FIX.exe's recordsets: translated where it lies, and the result is a
' clone of it in FIX.exe, sharing its rows.
Dim objList, objAlarms
Set objList = objWorkspace.LoadAlarms(WScript.Arguments(0))
Set objAlarms = objModule.TranslateAlarmsRecordset(objList, 2, Nothing, 2)
WScript.Echo "Alarms=" & objList.Fields(2).Value
objAlarms.Fields(2).Value = "Written through the result"
WScript.Echo "Shared=" & objList.Fields(2).Value
Set objAlarms = Nothing
Set objList = Nothing
Set objWorkspace = Nothing
Set objModule = Nothing
WScript.Echo "released"
