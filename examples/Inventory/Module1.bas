Attribute VB_Name = "Module1"
Option Explicit

' Inventory totals and stock checks for the warehouse screens.
Private Const MAX_ITEMS As Long = 500
Private mlngCount As Long
Public gstrWarehouse As String

Private Declare Function GetTickCount Lib "kernel32" () As Long
Private Declare Function GetPrivateProfileString Lib "kernel32" Alias "GetPrivateProfileStringA" _
    (ByVal lpApplicationName As String, ByVal lpKeyName As Any, ByVal lpDefault As String, _
     ByVal lpReturnedString As String, ByVal nSize As Long, ByVal lpFileName As String) As Long

Public Type StockLine
    Code As String * 8
    Quantity As Long
    Price As Currency
End Type

' Adds an item to the running count; refuses more than MAX_ITEMS.
Public Function AddItem(ByVal lngQuantity As Long) As Boolean
    If mlngCount + lngQuantity > MAX_ITEMS Then
        AddItem = False
        Exit Function
    End If
    mlngCount = mlngCount + lngQuantity
    AddItem = True
End Function

Public Sub ResetCount()
On Error GoTo Err_ResetCount

    mlngCount = 0

Exit_ResetCount:
    Exit Sub

Err_ResetCount:
    MsgBox Err.Description & " " & Err.Number, vbCritical, "ResetCount()"
    Resume Exit_ResetCount

End Sub

Private Function ReadSetting(ByVal strKey As String, _
                             Optional ByVal strDefault As String = "") As String
    Dim strBuffer As String
    Dim lngLength As Long
    strBuffer = String$(255, 0)
    lngLength = GetPrivateProfileString("Inventory", strKey, strDefault, strBuffer, 255, "inventory.ini")
    ReadSetting = Left$(strBuffer, lngLength)  ' the API returns the length without the Nul
End Function

Public Function ElapsedSeconds(ByVal lngStart As Long) As Double
    On Error Resume Next ' the tick counter wraps after 49 days
    ElapsedSeconds = (GetTickCount() - lngStart) / 1000#
End Function

Public Sub ShowTotals(ByVal curTotal As Currency)
    Dim strMessage As String
    strMessage = "Warehouse: " & gstrWarehouse & vbCrLf & _
                 "Items: " & CStr(mlngCount) & vbCrLf & _
                 "Value: " & Format$(curTotal, "£#,##0.00")
    MsgBox strMessage, vbInformation, "Totals"
End Sub
' ShowTotals is called from frmMain after every stock update.
' Keep it last: the reports module looks it up by name.
