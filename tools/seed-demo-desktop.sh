#!/usr/bin/env bash
# Fills a folder with a demo desktop: folders, shortcuts, pictures, documents, archives and other files,
# with Chinese and English names. Usage: seed-demo-desktop.sh <folder>
set -euo pipefail
d="$1"
mkdir -p "$d"
mkdir -p "$d/Projects" "$d/项目资料" "$d/Photos 2026"
echo "readme" > "$d/项目资料/说明.txt"
for n in "Browser.lnk" "终端.lnk" "Setup.exe" "学习网站.url"; do printf 'demo' > "$d/$n"; done
if command -v convert >/dev/null; then
    convert -size 64x48 xc:'#3B82F6' "$d/holiday.png"
    convert -size 64x48 xc:'#F59E0B' "$d/风景.jpg"
    convert -size 32x32 xc:'#10B981' "$d/logo.bmp"
else
    printf 'png' > "$d/holiday.png"; printf 'jpg' > "$d/风景.jpg"
fi
printf 'Quarterly numbers\n' > "$d/report.txt"
printf '# Notes\n' > "$d/notes.md"
printf '年度计划\n' > "$d/年度计划.txt"
printf 'doc' > "$d/会议纪要.docx"
printf 'pdf' > "$d/Manual.pdf"
tar -czf "$d/backup.tar.gz" -C "$d" report.txt
printf 'zip' > "$d/资料包.zip"
printf 'data' > "$d/data.bin"
printf 'cfg' > "$d/settings.cfg"
printf 'x' > "$d/README"
