Attribute VB_Name = "basTypes"
Option Explicit
Private Type Rec
    End As Long
    Property As String * 8
    Sub As Integer
    Function As Variant
End Type
Public Enum Colour
    Red = 1
    Green
End Enum

Rem continuation lines and strings that look like code
Public Function Describe(r As Rec, _
        Optional ByVal strSep As String = "End Sub") _
        As String
    Describe = r.Property & strSep & "'" ' End Function
    If r.End > 0 Then Exit Function
End Function
Sub Last()
    Dim x As Long: x = 1 _
        + 2
End Sub