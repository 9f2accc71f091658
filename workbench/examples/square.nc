(A 20 mm square with rounded corners: ten lines, loaded as table rows)
G01 X0 Y0 Z0 F50 D500
X15
G03 X20 Y5 R5
G01 Y15
G03 X15 Y20 R5
G01 X5
G03 X0 Y15 R5
G01 Y5
G03 X5 Y0 R5
