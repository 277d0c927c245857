# Sourced: settings every Wine prefix of ours gets.

# bc_wine_settings <desktop folder, a Linux path>: no window manager decorations (windows close at
# once under Xvfb), fonts for the Chinese UI, and the desktop folder pointed at the given folder.
bc_wine_settings() {
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
    # The system's menu and dialog fonts have no Chinese under Wine: menus would show empty boxes.
    local face
    for face in 'Microsoft YaHei UI' 'Tahoma' 'MS Shell Dlg' 'MS Shell Dlg 2'; do
        wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d 'WenQuanYi Micro Hei' /f \
            >/dev/null 2>&1 </dev/null
    done
    wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders' /v Desktop \
        /t REG_EXPAND_SZ /d "Z:${1//\//\\}" /f >/dev/null 2>&1 </dev/null
}
