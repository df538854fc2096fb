' Tintmark appearance settings. The plugin stores nothing: run this after every load.
' Inside the configurator's script host the plugin is Plugins("Tintmark"); run alone
' (cscript tintmark-settings.vbs) it creates a plugin object to show the settings apply.
Option Explicit

Private Function TintmarkPlugin()
    Dim p
    Set p = Nothing
    On Error Resume Next
    Set p = Plugins("Tintmark")
    If p Is Nothing Then Set p = Plugins.Item("Tintmark")
    On Error GoTo 0
    If p Is Nothing Then Set p = CreateObject("Tintmark.TintmarkPlugin")
    Set TintmarkPlugin = p
End Function

Dim t
Set t = TintmarkPlugin()

' Gutter: a light grey strip with a thin separator, grey fold marks, blue bookmarks.
t.GutterColor = RGB(243, 243, 243)
t.GutterLineColor = RGB(210, 210, 210)
t.MethodsBorderColor = RGB(150, 150, 150)
t.BookMarkColor = RGB(70, 130, 220)

' The token at the caret: pale yellow with an orange frame, dark blue bold text.
t.OpenBracketBgColor = RGB(255, 246, 190)
t.OpenBracketFrameColor = RGB(230, 160, 60)
t.OpenBracketUnderLineColor = RGB(230, 160, 60)
t.OpenBracketFontColor = RGB(0, 0, 140)
t.OpenBracketFontBold = True

' Its partner: pale green with a green frame.
t.CloseBracketBgColor = RGB(214, 245, 214)
t.CloseBracketFrameColor = RGB(90, 170, 90)
t.CloseBracketUnderLineColor = RGB(90, 170, 90)
t.CloseBracketFontColor = RGB(0, 0, 140)
t.CloseBracketFontBold = True

' Pairs highlight as the caret moves, also when it stands next to a token.
t.DisableAutoHighlight = False
t.HighlightModeAlways = True

' A faint frame around the caret line; no column line.
t.CrossLinesColor = RGB(232, 236, 250)
t.EnableHorizCrossLine = True
t.EnableVertCrossLine = False
