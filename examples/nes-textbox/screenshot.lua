-- Run by fceux (--loadlua): once the program says the text is drawn ($A5 at $00FF), waits two
-- frames with rendering on, saves the screen to $MIPOFC_SCREENSHOT (screen.png) and quits.
local out = os.getenv("MIPOFC_SCREENSHOT") or "screen.png"
for frame = 1, 600 do
  emu.frameadvance()
  if memory.readbyte(0x00FF) == 0xA5 then
    emu.frameadvance()
    emu.frameadvance()
    gui.savescreenshotas(out)
    emu.frameadvance()
    os.exit(0)
  end
end
print("the text was not drawn within 600 frames")
os.exit(1)
