-- The condition index of the diet catalogue: one row for every node of the
-- condition tree (Node Index 1 to 95, in the order the tree is built), each with
-- its own code. A diet is listed under a node when its [Category] holds the
-- node's code between semicolons; a diet under an inner node also carries the
-- codes of the nodes above it, so that a click on "Urolithiasis" lists every
-- stone diet. Node 91, "Added", lists the practice's own diets instead and no
-- diet carries its code.
--
-- The codes are short, fixed names of letters and digits only (no blank,
-- semicolon, % or _), unique among themselves.
--
-- Like the diets themselves, the codes and the diets' figures are
-- representative reference rows, not any maker's; a practice adds the
-- products it uses as its own diets, which the "Added" node lists.

INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (1, 'BLD'); -- Blood
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (2, 'BLDAN'); --   Anaemia
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (3, 'BLDHL'); --   Hyperlipidaemia
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (4, 'BLDLY'); --   Lymphangiectasis
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (5, 'CAR'); -- Cardiac
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (6, 'CARHT'); --   Hypertension
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (7, 'CARF1'); --   Stage I Failure
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (8, 'CARF2'); --   Stage II Failure
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (9, 'CARF3'); --   Stage III Failure
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (10, 'END'); -- Endocrine
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (11, 'ENDCU'); --   Cushings Disease
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (12, 'DM'); --   Diabetes Mellitus
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (13, 'DMNW'); --     Normal Weight
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (14, 'DMOB'); --     Obese
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (15, 'DMUW'); --     Under Weight
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (16, 'ENDHT'); --   Hyperthyroidism
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (17, 'ENDHG'); --   Hypoglycaemia
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (18, 'GEN'); -- General
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (19, 'GENAO'); --   Ascites - Oedema
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (20, 'GENDB'); --   Debility
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (21, 'OBS'); --   Obesity
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (22, 'OBSPR'); --     Prevention
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (23, 'OBSWR'); --     Weight Reduction
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (24, 'GI'); -- GI Tract
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (25, 'PAN'); --   Acute Pancreatitis
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (26, 'PANHL'); --     Hyperlipidaemic
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (27, 'PANNH'); --     None Hyperlipidaemic
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (28, 'COL'); --   Colitis
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (29, 'COLFR'); --     Fibre Responsive
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (30, 'COLFI'); --     Food Intolerance
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (31, 'COLOT'); --     Other
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (32, 'GICON'); --   Constipation
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (33, 'DIA'); --   Diarrhoea
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (34, 'DIAEPI'); --     EPI
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (35, 'DIAFR'); --     Fibre Responsive
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (36, 'DIAFI'); --     Food Intolerance
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (37, 'DIAGN'); --     General
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (38, 'DIAMA'); --     Malabsorption
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (39, 'DIAMN'); --     Malnutrition
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (40, 'GIGDV'); --   Dilitation - Volvulus
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (41, 'GIEP'); --   Endoparasites
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (42, 'FLA'); --   Flatulence
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (43, 'FLAFR'); --     Fibre Responsive
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (44, 'FLAFI'); --     Food Intolerance
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (45, 'FLAGN'); --     General
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (46, 'GIVOM'); --   Vomiting
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (47, 'HEP'); -- Hepatic
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (48, 'HEPCU'); --   Copper Storage Disease
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (49, 'HEPFL'); --   Feline Hepatic Lipidosis
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (50, 'HEPFE'); --   Feline Hepatic Lipidosis With Encephalopathy
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (51, 'HEPGN'); --   General
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (52, 'HEPAS'); --   With Ascites
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (53, 'ING'); -- Ingestion
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (54, 'INGAN'); --   Anorexia
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (55, 'INGCP'); --   Coprophagia
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (56, 'INGDC'); --   Dental Care
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (57, 'INGEF'); --   Enteral Feeding
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (58, 'INGRG'); --   Reguritation
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (59, 'NEO'); -- Neoplasia
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (60, 'ORT'); -- Orthopoedic
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (61, 'ORTFX'); --   Fractures
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (62, 'ORTSK'); --   Skeletal Disease
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (63, 'REC'); -- Recovery
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (64, 'RECCV'); --   Convalescence
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (65, 'RECCC'); --   Critical Care
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (66, 'RECSU'); --   Surgical
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (67, 'REN'); -- Renal
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (68, 'RENE'); --   Early
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (69, 'RENL'); --   Late
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (70, 'REP'); -- Reproductive
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (71, 'REPEC'); --   Eclampsia
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (72, 'REPLA'); --   Lactation
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (73, 'REPWE'); --   Weaning
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (74, 'SEN'); -- Sensitivity
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (75, 'SENGI'); --   GI
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (76, 'SENSK'); --   Skin
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (77, 'URO'); -- Urolithiasis
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (78, 'CYS'); --   Cysteine
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (79, 'CYSD'); --     Disolution
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (80, 'CYSP'); --     Prevention
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (81, 'OXA'); --   Oxalate
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (82, 'OXAP'); --     Prevention
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (83, 'STR'); --   Struvite
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (84, 'STRD'); --     Disolution
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (85, 'STRP'); --     Prevention
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (86, 'STRPO'); --     Prevention  + Obese
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (87, 'STRPX'); --     Prevention + Other Disease
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (88, 'URA'); --   Urate
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (89, 'URAD'); --     Disolution
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (90, 'URAP'); --     Prevention
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (91, 'ADDED'); -- Added
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (92, 'LIF'); -- Life Stage
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (93, 'LIFGR'); --   Growth
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (94, 'LIFAD'); --   Adult
INSERT INTO [Category Codes Diets] ([Node Index], [Code]) VALUES (95, 'LIFSR'); --   Senior
