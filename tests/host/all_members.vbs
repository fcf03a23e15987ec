' Run by the Windows FIX.exe: creates the interpreter by ProgID through COM
' and reaches every public member by name, both properties read and written
' and the nine methods, with arguments passed by reference as VBA passes
' variables. Arguments: a form file, an alarm list, the file for its
' translation.
Option Explicit
Dim objModule, strText, strPicture, strUser, objForm, objList, objAlarms
Set objModule = CreateObject("Veltrano.VeltranoModule")
Print "TypeName " & TypeName(objModule)
Print "GlobalLangNum " & objModule.GlobalLangNum
objModule.GlobalLangNum = 2
Print "GlobalLangNum " & objModule.GlobalLangNum & " " & TypeName(objModule.GlobalLangNum)
Print "GetObjectsPrefix " & objModule.GetObjectsPrefix
objModule.GetObjectsPrefix = True
Print "GetObjectsPrefix " & objModule.GetObjectsPrefix
objModule.GetObjectsPrefix = False

strText = "  Start  "
Print "TranslateString [" & objModule.TranslateString(strText, Nothing, 2) & "]"
strPicture = "MAIN.GRF"
objModule.TranslatePicture strPicture, 2
Print "TranslatePicture left " & strPicture
strUser = "MANUTENTORE"
objModule.SetUserGlobalLang strUser
Print "SetUserGlobalLang " & strUser & " " & objModule.GlobalLangNum

Set objForm = LoadForm(Arguments(0))
objModule.TranslateForm objForm, 2
Print "TranslateForm " & TypeName(objForm) & " " & objForm.Caption
Set objList = LoadAlarms(Arguments(1))
Set objAlarms = objModule.TranslateAlarmsRecordset(objList, 2, Nothing, 2)
SaveAlarms objAlarms, Arguments(2)
Print "TranslateAlarmsRecordset " & TypeName(objAlarms) & ", the list: " & objList.Fields(2).Value
' The result is a clone of the host's own: it shares the list's rows.
objAlarms.Fields(2).Value = "Written through the result"
Print "The list: " & objList.Fields(2).Value
objModule.GlobalLangNum = 1
objModule.TranslateAll UserForms
Print "TranslateAll " & UserForms.Count & " " & objForm.Caption
objModule.ShowStartupConfig
Print "ShowStartupConfig"
objModule.UpdateAndVerifyDictionary
Print "UpdateAndVerifyDictionary"
objModule.ChangeDevLang
Print "ChangeDevLang"

On Error Resume Next
objModule.GlobalLangNum = "many"
Print "Error " & Err.Number & " " & Err.Description
Err.Clear
objModule.TranslateEverything
Print "Error " & Err.Number
Err.Clear
Print GetObject("", "No.Such.Application").Name
Print "Error " & Err.Number
On Error GoTo 0
Print "MsgBox " & MsgBox("All members reached.", 64, "Members")
Set objModule = Nothing
Print "released"
