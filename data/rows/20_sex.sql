-- The sex pick list. A name containing "Female" (exact case) counts as female.
INSERT INTO [Sex] ([Sex Name]) VALUES ('Male');
INSERT INTO [Sex] ([Sex Name]) VALUES ('Male Neutered');
INSERT INTO [Sex] ([Sex Name]) VALUES ('Female');
INSERT INTO [Sex] ([Sex Name]) VALUES ('Female Spayed');
