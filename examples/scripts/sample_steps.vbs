' The sample application's steps as a host script: every member of the
' interpreter, as the operator's workspace and the maintenance engineer use
' them. sample_steps.lua does the same in Lua, line for line.
'
' FIX.exe runs it, as the host's VBA would (Print, LoadForm, LoadAlarms and
' the other host names are FIX.exe's; cscript does not have them). The steps
' change the application they run on (the pictures, the dictionary, the
' development language in Veltrano.ini), so run them on a copy:
' run_sample_steps.cmd beside this file makes a fresh one and runs
'
'   FIX.exe --batch --select * --lang-number 3 --answers ok,ok,ok,ok,ok,ok,yes,yes,ok,ok,ok,ok
'     --pictures PICTURES run sample_steps.vbs SETTINGS LOGIN ALARMS OUT
'
' SETTINGS and LOGIN are form files (written back translated), ALARMS an
' alarm list (CSV), OUT the file its translation is written to.
Option Explicit

Dim objVeltrano, objWorkspace, strFolder
Set objVeltrano = CreateObject("Veltrano.VeltranoModule")
Set objWorkspace = GetObject("", "Workspace.Application")
strFolder = objWorkspace.System.FixPath(1)

Sub StepTitle(strTitle)
  Print "== " & strTitle
End Sub

Sub Show(objObjects, strIndent)
  Dim objObject, strText
  For Each objObject In objObjects
    strText = objObject.Caption
    If strText = "" Then strText = objObject.Description
    If strText <> "" Then Print strIndent & objObject.Name & ": " & strText
    If TypeName(objObject) = "Fix2DGroup" Then Show objObject.ContainedObjects, strIndent & "  "
  Next
End Sub

Sub ShowForm(objForm)
  Dim objControl
  Print "Form " & objForm.Name & ": " & objForm.Caption
  For Each objControl In objForm.Controls
    If objControl.Caption <> "" Then Print "  " & objControl.Name & ": " & objControl.Caption
  Next
End Sub

Function OnOff(blnValue)
  If blnValue Then OnOff = "on" Else OnOff = "off"
End Function

Dim strUser
StepTitle "Users and their languages"
For Each strUser In Array("OPERATOR", "MANUTENTORE", "ENGINEER", "VISITOR")
  objVeltrano.SetUserGlobalLang strUser
  Print strUser & " -> GlobalLangNum " & objVeltrano.GlobalLangNum
Next
objVeltrano.GlobalLangNum = 1
Print "GlobalLangNum set to " & objVeltrano.GlobalLangNum

Dim intLang
StepTitle "Single strings, outer blanks kept"
For Each intLang In Array(2, 3)
  Print "Language_" & intLang & ": [" & objVeltrano.TranslateString("  Boiler overview ", Nothing, intLang) & "]"
Next
Print "Language_3, no translation yet: [" & objVeltrano.TranslateString("Password", Nothing, 3) & "]"
Print "Not in the dictionary (appended): [" & objVeltrano.TranslateString("Steam drum", Nothing, 2) & "]"

Dim objList, objAlarms
StepTitle "Alarm list translated into Language_2 (column 2)"
Set objList = LoadAlarms(Arguments(2))
Set objAlarms = objVeltrano.TranslateAlarmsRecordset(objList, 2, Nothing, 2)
SaveAlarms objAlarms, Arguments(3)
Print "written"
Print "First alarm of the list handed over: " & objList.Fields(2).Value

Dim strName, objPicture
StepTitle "The picture Main in Language_2, saved"
strName = "Main.grf"
objVeltrano.TranslatePicture strName, 2
Print "TranslatePicture left the name " & strName
Set objPicture = objWorkspace.Documents.Open(strFolder & "\" & strName & ".grf", 2)
Print "Picture " & objPicture.Name & ", language marker " & objPicture.Comments
Show objPicture.Page.ContainedObjects, "  "
objPicture.Close 1 ' 1: saved

Dim objSettings
StepTitle "The form frmSettings in Language_2"
Set objSettings = LoadForm(Arguments(0))
objVeltrano.TranslateForm objSettings, 2
ShowForm objSettings

Dim objLogin, objDocument
StepTitle "Everything open at once back into GlobalLangNum"
Set objLogin = LoadForm(Arguments(1))
objWorkspace.Documents.Open strFolder & "\Prefixed.grf", 2
objVeltrano.GetObjectsPrefix = True
Print "GetObjectsPrefix " & OnOff(objVeltrano.GetObjectsPrefix)
objVeltrano.TranslateAll UserForms
objVeltrano.GetObjectsPrefix = False
Print "GetObjectsPrefix " & OnOff(objVeltrano.GetObjectsPrefix)
For Each objDocument In objWorkspace.Documents
  Print "Picture " & objDocument.Name
  Show objDocument.Page.ContainedObjects, "  "
Next
ShowForm objSettings
ShowForm objLogin
SaveForm objSettings
SaveForm objLogin
For Each objDocument In objWorkspace.Documents
  objDocument.Close 1
Next

StepTitle "Update and verify the dictionary (batch dialog)"
objVeltrano.UpdateAndVerifyDictionary

StepTitle "Change the development language (batch dialog)"
objVeltrano.ChangeDevLang

StepTitle "The configuration in the editor"
objVeltrano.ShowStartupConfig

Print "Answer " & MsgBox("The sample steps are done.", 64, "Sample")
