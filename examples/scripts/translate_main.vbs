' A host script, as the operator's workspace runs one: it creates the
' interpreter, switches to a user's language, shows the picture Main in it
' and translates a form.
'
'   FIX.exe --pictures PICTURES run translate_main.vbs [USER [FORM]]
'
' FIX.exe runs it, as the host's VBA would (Print and Arguments are FIX.exe's;
' cscript does not have them: beside_fix.vbs is the sample for cscript).
'
' USER defaults to OPERATOR. FORM is a form file (.frm.json); it is written
' back translated. The picture file is left as it is.
Option Explicit

Dim strUser, strFormFile, objVeltrano, strName, objWorkspace, strFolder, objPicture
strUser = "OPERATOR"
If Arguments.Count > 0 Then strUser = Arguments(0)
strFormFile = ""
If Arguments.Count > 1 Then strFormFile = Arguments(1)

Set objVeltrano = CreateObject("Veltrano.VeltranoModule")
objVeltrano.SetUserGlobalLang strUser
Print strUser & " reads Language_" & objVeltrano.GlobalLangNum

' TranslatePicture takes the picture's name by reference and cuts ".grf"
' off it.
strName = "Main.grf"
objVeltrano.TranslatePicture strName, 0, strUser

Set objWorkspace = GetObject("", "Workspace.Application")
strFolder = objWorkspace.System.FixPath(1)
Set objPicture = objWorkspace.Documents.Open(strFolder & "\" & strName & ".grf", 2)
Print "Picture " & objPicture.Name & ", language marker " & objPicture.Comments

Sub Show(objObjects, strIndent)
  Dim objObject, strText
  For Each objObject In objObjects
    strText = objObject.Caption
    If strText = "" Then strText = objObject.Description
    If strText <> "" Then Print strIndent & objObject.Name & ": " & strText
    If TypeName(objObject) = "Fix2DGroup" Then Show objObject.ContainedObjects, strIndent & "  "
  Next
End Sub
Show objPicture.Page.ContainedObjects, "  "
objPicture.Close 2 ' 2: without saving

Dim objForm, objControl
If strFormFile <> "" Then
  Set objForm = LoadForm(strFormFile)
  objVeltrano.TranslateForm objForm, 0, strUser
  Print "Form " & objForm.Name & ": " & objForm.Caption
  For Each objControl In objForm.Controls
    If objControl.Caption <> "" Then Print "  " & objControl.Name & ": " & objControl.Caption
  Next
  SaveForm objForm
End If

' A failed call raises a run-time error; On Error Resume Next keeps the
' script going.
Dim varValue
On Error Resume Next
varValue = objVeltrano.NoSuchProperty
If Err.Number <> 0 Then Print "As expected: " & Err.Description
On Error GoTo 0
