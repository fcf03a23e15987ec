Attribute VB_Name = "modInterpreter"
'------------------------------------------------------------------------------
' modInterpreter - the application's calls to Veltrano.
'
' Import this module into the application's VBA project (Project_User). It
' keeps one Veltrano interpreter for the whole workspace and translates:
'   - each picture when it opens          -> VeltranoTranslatePicture
'   - everything open when a user logs in -> VeltranoLogin
'   - each UserForm when it initialises   -> VeltranoTranslateForm
'
' Veltrano reads its settings and dictionaries from the Veltrano folder of
' the pictures folder (Veltrano.ini, Veltrano.xls, Veltrano_Alm.xls). It
' reports its own failures in a message box and in Veltrano.log there, so
' none of these calls raises an error into the application's scripts.
'------------------------------------------------------------------------------
Option Explicit

' The one interpreter of the workspace. Creating it reads the configuration
' and opens the dictionaries, so it is made once and kept.
Private objVeltrano As Object
' Set when the interpreter could not be created, so that the operator is told
' once and not at every picture.
Private blnCreationFailed As Boolean

' The interpreter, created on first use. Nothing when Veltrano is not
' registered on this computer.
Public Function Veltrano() As Object
    If objVeltrano Is Nothing And Not blnCreationFailed Then
        On Error GoTo CreateFailed
        Set objVeltrano = CreateObject("Veltrano.VeltranoModule")
    End If
    Set Veltrano = objVeltrano
    Exit Function

CreateFailed:
    blnCreationFailed = True
    MsgBox "Veltrano cannot be created: " & Err.Description, vbExclamation, " Veltrano"
    Set Veltrano = Nothing
End Function

' Call when a picture opens (its CFixPicture_Initialize event) with the
' picture's name, without folder; ".grf" may be left on. For example:
'     Private Sub CFixPicture_Initialize()
'         VeltranoTranslatePicture "Main"
'     End Sub
' The picture is shown in the language of the user given, when Veltrano.ini
' lists that user, else in the current default language (see VeltranoLogin).
Public Sub VeltranoTranslatePicture(ByVal strPictureName As String, _
                                    Optional ByVal strUserName As String = "")
    Dim objInterpreter As Object
    Set objInterpreter = Veltrano()
    If objInterpreter Is Nothing Then Exit Sub
    objInterpreter.TranslatePicture strPictureName, 0, strUserName
End Sub

' Call when a user logs in, with the login name: the user's language
' (section USERSLANG of Veltrano.ini) becomes the default, then every open
' picture, and the UserForms given, are brought into it.
Public Sub VeltranoLogin(ByVal strUserName As String, Optional objUserForms As Object = Nothing)
    Dim objInterpreter As Object
    Set objInterpreter = Veltrano()
    If objInterpreter Is Nothing Then Exit Sub
    objInterpreter.SetUserGlobalLang strUserName
    If objUserForms Is Nothing Then
        objInterpreter.TranslateAll
    Else
        objInterpreter.TranslateAll objUserForms
    End If
End Sub

' Call from the Initialize event of every UserForm, for example:
'     Private Sub UserForm_Initialize()
'         VeltranoTranslateForm Me
'     End Sub
Public Sub VeltranoTranslateForm(ByVal objUserForm As Object, _
                                 Optional ByVal strUserName As String = "")
    Dim objInterpreter As Object
    Set objInterpreter = Veltrano()
    If objInterpreter Is Nothing Then Exit Sub
    objInterpreter.TranslateForm objUserForm, 0, strUserName
End Sub

' One text in the current language, for texts that scripts build themselves.
Public Function VeltranoTranslateString(ByVal strText As String) As String
    Dim objInterpreter As Object
    Set objInterpreter = Veltrano()
    If objInterpreter Is Nothing Then
        VeltranoTranslateString = strText
    Else
        VeltranoTranslateString = objInterpreter.TranslateString(strText)
    End If
End Function

' Releases the interpreter, which closes the dictionaries; the next call
' creates a new one that reads Veltrano.ini again.
Public Sub VeltranoRelease()
    Set objVeltrano = Nothing
    blnCreationFailed = False
End Sub
