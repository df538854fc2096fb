' The control's standard form properties from a script: each written value reads back,
' the font is a font object, and values the form cannot take are refused.
Option Explicit
Dim p, f

' Booleans in the same words whatever the system's language (VBScript prints them localised).
Function B(v)
    If v Then B = "True" Else B = "False"
End Function

Set p = CreateObject("Tintmark.TintmarkPlugin")
WScript.Echo "defaults " & p.Caption & " " & B(p.Visible) & " " & B(p.Enabled) & " " & p.AxBorderStyle & " " & _
    Hex(p.Color) & " " & p.PrintScale & " " & B(p.Scaled) & " " & p.SnapBuffer & " " & B(p.AlignDisabled) & " " & _
    p.VisibleDockClientCount & " " & B(p.Active)
p.Caption = "Settings"
p.Color = RGB(1, 2, 3)
p.Visible = False
p.Enabled = False
p.AutoScroll = True
p.AutoSize = True
p.AxBorderStyle = 3
p.KeyPreview = True
p.PixelsPerInch = 120
p.PrintScale = 2
p.Scaled = False
p.DropTarget = True
p.HelpFile = "help.hlp"
p.ScreenSnap = True
p.SnapBuffer = 25
p.DoubleBuffered = True
WScript.Echo "read " & p.Caption & " " & p.Color & " " & B(p.Visible) & " " & B(p.Enabled) & " " & B(p.AutoScroll) & " " & _
    B(p.AutoSize) & " " & p.AxBorderStyle & " " & B(p.KeyPreview) & " " & p.PixelsPerInch & " " & p.PrintScale & " " & _
    B(p.Scaled) & " " & B(p.DropTarget) & " " & p.HelpFile & " " & B(p.ScreenSnap) & " " & p.SnapBuffer & " " & B(p.DoubleBuffered)
Set f = p.Font
WScript.Echo "font " & Round(f.Size) & " " & f.Charset
f.Bold = True
WScript.Echo "font bold " & B(p.Font.Bold)
p.Color = &H8000000F
WScript.Echo "system colour " & Hex(p.Color)
On Error Resume Next
p.AxBorderStyle = 4
WScript.Echo "border 4 refused " & Err.Number & " still " & p.AxBorderStyle
Err.Clear
p.Color = &H800000FF
WScript.Echo "bad system colour refused " & Err.Number
Err.Clear
p.Active = True
WScript.Echo "Active is read-only " & B(Err.Number <> 0)
Err.Clear
On Error GoTo 0
Set p = Nothing
WScript.Echo "done"
