' A script host beside the workspace: cscript, in a process of its own,
' creates the interpreter, which finds the running FIX.exe through COM as it
' finds a real iFix, and translates a string, the picture Main and an alarm
' list there.
'
'   FIX.exe --pictures pictures serve       (one console: FIX.exe serves its
'                                            workspace until Ctrl+Z, Enter)
'   cscript //nologo scripts\beside_fix.vbs  (another console)
'
' Veltrano.dll must be registered (the installer does it, or regsvr32), and
' cscript of the same bitness as the DLL. When FIX.exe stops it lists the
' pictures left open (with "serve --save" it saves them translated); then
' "FIX.exe unregister-host" removes the workspace's registration.
Option Explicit
Dim objVeltrano, objWorkspace, strText, strPicture, objDocument, objObject, objAlarms

Set objVeltrano = CreateObject("Veltrano.VeltranoModule")
' The workspace as COM hands it out: the one of the running FIX.exe.
Set objWorkspace = CreateObject("Workspace.Application")
WScript.Echo "Pictures folder: " & objWorkspace.System.FixPath(1)

strText = "  Start  "
WScript.Echo "[" & strText & "] in Language_2: [" & _
  objVeltrano.TranslateString(strText, Nothing, 2) & "]"

' The picture's name comes back as the interpreter cut it.
strPicture = "Main.grf"
objVeltrano.TranslatePicture strPicture, 2
For Each objDocument In objWorkspace.Documents
  WScript.Echo "Picture " & objDocument.Name & ", language marker " & objDocument.Page.Comments
  For Each objObject In objDocument.Page.ContainedObjects
    If objObject.Caption <> "" Then WScript.Echo "  " & objObject.Name & ": " & objObject.Caption
  Next
Next

' One of the workspace's alarm lists (alarms.csv beside the pictures folder),
' translated where it lies: the list handed over shows the translations.
Set objAlarms = objWorkspace.LoadAlarms(objWorkspace.System.FixPath(1) & "\..\alarms.csv")
objVeltrano.TranslateAlarmsRecordset objAlarms, 2, Nothing, 2
Do While Not objAlarms.EOF
  WScript.Echo "Alarm: " & objAlarms.Fields(2).Value
  objAlarms.MoveNext
Loop
