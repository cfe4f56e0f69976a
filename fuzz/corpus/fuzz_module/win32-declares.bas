Attribute VB_Name = "basWin32"
Option Explicit

#If VBA7 Then
Private Declare PtrSafe Function GetTickCount Lib "kernel32" () As Long
Private Declare PtrSafe Sub Sleep Lib "kernel32" _
    (ByVal dwMilliseconds As Long)
#Else
Private Declare Function GetTickCount Lib "kernel32" () As Long
Private Declare Sub Sleep Lib "kernel32" (ByVal dwMilliseconds As Long)
#End If

' Waits without blocking the message loop.
Public Sub Pause(ByVal lngMs As Long)
    Dim lngEnd As Long
    lngEnd = GetTickCount() + lngMs
    Do While GetTickCount() < lngEnd
        DoEvents
    Loop
End Sub
