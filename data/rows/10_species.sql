-- The species pick list of the case entry, in the order it is offered.
-- "Dog" and "Cat" are treated specially by the program (breed lists, units,
-- growth curves, diet calculator); every other name is another species.
INSERT INTO [Species] ([Species Name]) VALUES ('Dog');
INSERT INTO [Species] ([Species Name]) VALUES ('Cat');
INSERT INTO [Species] ([Species Name]) VALUES ('Rabbit');
INSERT INTO [Species] ([Species Name]) VALUES ('Guinea Pig');
INSERT INTO [Species] ([Species Name]) VALUES ('Ferret');
INSERT INTO [Species] ([Species Name]) VALUES ('Bird');
INSERT INTO [Species] ([Species Name]) VALUES ('Horse');
INSERT INTO [Species] ([Species Name]) VALUES ('Other');
