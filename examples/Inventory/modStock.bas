Attribute VB_Name = "modStock"
Option Explicit

#Const DEBUG_STOCK = 0

Public Enum StockState
    ssInStock = 0
    ssLow = 1
    ssOut = 2
End Enum

Private mcolItems As Collection

' Returns the stock state for a quantity.
Public Function StateOf(ByVal lngQuantity As Long) As StockState
    Select Case lngQuantity
        Case Is <= 0
            StateOf = ssOut
        Case Is < 10
            StateOf = ssLow
        Case Else
            StateOf = ssInStock
    End Select
End Function

Public Sub LoadItems()
    Dim objItem As clsItem
    Set mcolItems = New Collection
10  Set objItem = New clsItem
20  objItem.Code = "A-100"
30  objItem.Quantity = 12
40  mcolItems.Add objItem, objItem.Code
#If DEBUG_STOCK Then
    Debug.Print "Loaded "; mcolItems.Count; " items"
#End If
End Sub

Public Function FindItem(ByVal strCode As String) As clsItem
On Error GoTo Err_FindItem

    Set FindItem = mcolItems(strCode)

Exit_FindItem:
    Exit Function

Err_FindItem:
    Set FindItem = Nothing
    Resume Exit_FindItem

End Function

Friend Sub Reorder(ByVal strCode As String, ByVal lngQuantity As Long)
    Static lngOrders As Long
    lngOrders = lngOrders + 1
    Debug.Print "Order " & lngOrders & ": " & strCode & " x " & lngQuantity ' "End Sub" in a string is not an end
End Sub
