' Tintmark commands as macros of the configurator's script host. The host lists every public
' procedure without parameters of a loaded script as a macro, which can be put on a key or a
' toolbar button (see the user guide). Copy this file into config\scripts next to
' tintmark-settings.vbs. When the plugin is not loaded, or a command fails, the macro says so
' in the message window and does nothing else.
Option Explicit

' Свернуть все процедуры и функции модуля (their text is kept until they are unfolded).
Sub СвернутьВсе()
    Выполнить "CollapseAll"
End Sub

' Развернуть все свернутые процедуры и функции.
Sub РазвернутьВсе()
    Выполнить "ExpandAll"
End Sub

' Перейти к парной скобке или парному ключевому слову.
Sub ПерейтиКПаре()
    Выполнить "JumpToPairBracket"
End Sub

' Выделить блок от слова или скобки у курсора до парного, включая их.
Sub ВыделитьБлок()
    Выполнить "SelectPairBlock"
End Sub

' Выделить содержимое блока между словом или скобкой у курсора и парным.
Sub ВыделитьСодержимоеБлока()
    Выполнить "SelectInnerBlock"
End Sub

' Показать пару слова или скобки у курсора.
Sub ПоказатьПару()
    Выполнить "ShowPairBracket"
End Sub

' The loaded plugin, or Nothing.
Private Function Плагин()
    Dim p
    Set p = Nothing
    On Error Resume Next
    Set p = Plugins("Tintmark")
    If p Is Nothing Then Set p = Plugins.Item("Tintmark")
    Set Плагин = p
End Function

' A line in the configurator's message window.
Private Sub Сообщить(text)
    On Error Resume Next
    Message text
End Sub

Private Sub Выполнить(command)
    Dim p
    Set p = Плагин()
    If p Is Nothing Then
        Сообщить "Tintmark: плагин не загружен, команда " & command & " не выполнена."
        Exit Sub
    End If
    On Error Resume Next
    Select Case command
        Case "CollapseAll": p.CollapseAll
        Case "ExpandAll": p.ExpandAll
        Case "JumpToPairBracket": p.JumpToPairBracket
        Case "SelectPairBlock": p.SelectPairBlock
        Case "SelectInnerBlock": p.SelectInnerBlock
        Case "ShowPairBracket": p.ShowPairBracket
    End Select
    If Err.Number <> 0 Then Сообщить "Tintmark: " & command & ": " & Err.Description
End Sub
