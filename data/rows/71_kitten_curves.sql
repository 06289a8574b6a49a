-- Approximate reference growth curves of kittens for their first year, drawn
-- from general published growth data: body weight in kg at weeks 0, 2, ...,
-- 52, one row per week. The upper and lower curves of each sex bound the
-- usual band: about 0.1 kg at birth, about 1 to 1.5 kg at 12 weeks, and an
-- adult weight of about 3 to 5.5 kg by one year. Each curve never falls.
-- They are a guide for comparison, not a standard for any one animal.
-- The program reads the rows in order of [Week], whatever order they are
-- stored in.

INSERT INTO [Kitten Curves] ([Week], [Male Upper], [Male Lower], [Female Upper], [Female Lower]) VALUES ( 0,  0.12,  0.09,  0.11,  0.09);
INSERT INTO [Kitten Curves] ([Week], [Male Upper], [Male Lower], [Female Upper], [Female Lower]) VALUES ( 2,  0.22,  0.16,  0.21,  0.15);
INSERT INTO [Kitten Curves] ([Week], [Male Upper], [Male Lower], [Female Upper], [Female Lower]) VALUES ( 4,  0.38,  0.26,  0.35,  0.25);
INSERT INTO [Kitten Curves] ([Week], [Male Upper], [Male Lower], [Female Upper], [Female Lower]) VALUES ( 6,  0.59,  0.40,  0.54,  0.37);
INSERT INTO [Kitten Curves] ([Week], [Male Upper], [Male Lower], [Female Upper], [Female Lower]) VALUES ( 8,  0.85,  0.57,  0.78,  0.53);
INSERT INTO [Kitten Curves] ([Week], [Male Upper], [Male Lower], [Female Upper], [Female Lower]) VALUES (10,  1.16,  0.77,  1.05,  0.70);
INSERT INTO [Kitten Curves] ([Week], [Male Upper], [Male Lower], [Female Upper], [Female Lower]) VALUES (12,  1.50,  1.00,  1.35,  0.90);
INSERT INTO [Kitten Curves] ([Week], [Male Upper], [Male Lower], [Female Upper], [Female Lower]) VALUES (14,  1.87,  1.25,  1.66,  1.11);
INSERT INTO [Kitten Curves] ([Week], [Male Upper], [Male Lower], [Female Upper], [Female Lower]) VALUES (16,  2.24,  1.50,  1.97,  1.32);
INSERT INTO [Kitten Curves] ([Week], [Male Upper], [Male Lower], [Female Upper], [Female Lower]) VALUES (18,  2.61,  1.76,  2.28,  1.53);
INSERT INTO [Kitten Curves] ([Week], [Male Upper], [Male Lower], [Female Upper], [Female Lower]) VALUES (20,  2.97,  2.01,  2.57,  1.74);
INSERT INTO [Kitten Curves] ([Week], [Male Upper], [Male Lower], [Female Upper], [Female Lower]) VALUES (22,  3.31,  2.25,  2.83,  1.93);
INSERT INTO [Kitten Curves] ([Week], [Male Upper], [Male Lower], [Female Upper], [Female Lower]) VALUES (24,  3.62,  2.48,  3.08,  2.11);
INSERT INTO [Kitten Curves] ([Week], [Male Upper], [Male Lower], [Female Upper], [Female Lower]) VALUES (26,  3.91,  2.70,  3.29,  2.27);
INSERT INTO [Kitten Curves] ([Week], [Male Upper], [Male Lower], [Female Upper], [Female Lower]) VALUES (28,  4.16,  2.89,  3.48,  2.42);
INSERT INTO [Kitten Curves] ([Week], [Male Upper], [Male Lower], [Female Upper], [Female Lower]) VALUES (30,  4.39,  3.07,  3.65,  2.55);
INSERT INTO [Kitten Curves] ([Week], [Male Upper], [Male Lower], [Female Upper], [Female Lower]) VALUES (32,  4.59,  3.23,  3.80,  2.67);
INSERT INTO [Kitten Curves] ([Week], [Male Upper], [Male Lower], [Female Upper], [Female Lower]) VALUES (34,  4.77,  3.37,  3.92,  2.77);
INSERT INTO [Kitten Curves] ([Week], [Male Upper], [Male Lower], [Female Upper], [Female Lower]) VALUES (36,  4.92,  3.50,  4.03,  2.86);
INSERT INTO [Kitten Curves] ([Week], [Male Upper], [Male Lower], [Female Upper], [Female Lower]) VALUES (38,  5.05,  3.61,  4.12,  2.94);
INSERT INTO [Kitten Curves] ([Week], [Male Upper], [Male Lower], [Female Upper], [Female Lower]) VALUES (40,  5.17,  3.70,  4.20,  3.01);
INSERT INTO [Kitten Curves] ([Week], [Male Upper], [Male Lower], [Female Upper], [Female Lower]) VALUES (42,  5.26,  3.79,  4.26,  3.07);
INSERT INTO [Kitten Curves] ([Week], [Male Upper], [Male Lower], [Female Upper], [Female Lower]) VALUES (44,  5.35,  3.86,  4.32,  3.12);
INSERT INTO [Kitten Curves] ([Week], [Male Upper], [Male Lower], [Female Upper], [Female Lower]) VALUES (46,  5.42,  3.92,  4.37,  3.16);
INSERT INTO [Kitten Curves] ([Week], [Male Upper], [Male Lower], [Female Upper], [Female Lower]) VALUES (48,  5.48,  3.98,  4.40,  3.20);
INSERT INTO [Kitten Curves] ([Week], [Male Upper], [Male Lower], [Female Upper], [Female Lower]) VALUES (50,  5.53,  4.02,  4.44,  3.23);
INSERT INTO [Kitten Curves] ([Week], [Male Upper], [Male Lower], [Female Upper], [Female Lower]) VALUES (52,  5.57,  4.06,  4.46,  3.25);
